#pragma once
// The application-object base class. With MSVC and MFC the library derives
// from MFC's own CWinApp; every other toolchain gets this minimal stand-in
// with the same virtual slots the library overrides, in the same order:
// destructor, message-map accessor, InitInstance.
#if defined(_MSC_VER) && defined(_AFXDLL)
#include <afxwin.h>
#define TOLLGRAM_HAS_MFC 1
#else

namespace tollgram::platform {

using BOOL = int;
inline constexpr BOOL kTrue = 1;

struct MessageMapEntry {
    unsigned message;  // 0 ends a map
};

struct MessageMap {
    const MessageMap* (*baseMap)();  // the base class's map, or null at the root
    const MessageMapEntry* entries;
};

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr) : m_pszAppName(appName) {}
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp() = default;
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }
    virtual BOOL InitInstance() { return kTrue; }

    const char* m_pszAppName;

protected:
    static const MessageMap* GetThisMessageMap() {
        static constexpr MessageMapEntry end{0};
        static constexpr MessageMap map{nullptr, &end};
        return &map;
    }
};

}  // namespace tollgram::platform

using tollgram::platform::CWinApp;
#endif
