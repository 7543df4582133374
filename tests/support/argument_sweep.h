#pragma once
// Every export called with every combination of bad arguments a script may
// pass: texts that are null, empty, 100,000 bytes or not ASCII; values from
// 0 to NaN, the infinities and 2^32; no buffer, buffers of size 0, 1 and
// negative; no context, a context without records, records with empty
// arrays, records with wrong element sizes. Each call must give the code
// its export promises for such arguments and write nothing outside the
// caller's buffer. Header-only, so that the in-process suite and the test
// of the real DLL run the same cases.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "host/records.h"
#include "substitute_host/substitute_host.h"
#include "tollgram.h"

namespace tollgram::test {

using SweptExport = TollgramExportFunction;

enum class SweepText { Null, Empty, Long, NonAscii };
enum class SweepContext { Null, NoRecords, EmptyRecords, WrongSizes };

struct SweepCase {
    SweepText text;
    double value;
    bool nullBuffer;
    int32_t bufferSize;
    SweepContext context;
};

// The records behind the four contexts. They hold no model-matching mesh,
// no usable texture and no interface tree, so every host export must turn
// them down; only the renames find their name records.
class SweepScene {
public:
    SweepScene() {
        empty_.setMesh(0, 0);
        empty_.setGroupNames({});
        empty_.setTexture(0, 0, 32, nullptr);
        empty_.setAlphaName("");
        empty_.interfaceRecord();  // no start node
        wrong_.setMesh(3, 2);
        wrong_.setVertexFlags(3);
        wrong_.setPolygonFlags(2, 8);
        // A group-name array whose element size is 0.
        substitute::SubstituteHost::setPointer(wrong_.meshRecord(), host::mesh::kGroupNames, wrong_.makeHostArray(2, 0));
        std::vector<uint8_t> pixels(4 * 4 * 3, 0x55);
        wrong_.setTexture(4, 4, 24, pixels.data());
        wrong_.setAlphaName("alpha");
    }
    void* context(SweepContext kind) {
        switch (kind) {
            case SweepContext::Null: return nullptr;
            case SweepContext::NoRecords: return none_.context();
            case SweepContext::EmptyRecords: return empty_.context();
            case SweepContext::WrongSizes: return wrong_.context();
        }
        return nullptr;
    }

private:
    substitute::SubstituteHost none_, empty_, wrong_;
};

inline const std::vector<SweepCase>& sweepCases() {
    static const std::vector<SweepCase> cases = [] {
        const double values[] = {0.0, -1.0, 0.5, 1e300, -1e300, std::nan(""), std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), 4294967296.0};
        struct Buffer { bool null; int32_t size; };
        const Buffer buffers[] = {{true, 64}, {false, 0}, {false, 1}, {false, -8}};
        std::vector<SweepCase> all;
        for (SweepText text : {SweepText::Null, SweepText::Empty, SweepText::Long, SweepText::NonAscii})
            for (double value : values)
                for (const Buffer& buffer : buffers)
                    for (SweepContext context : {SweepContext::Null, SweepContext::NoRecords, SweepContext::EmptyRecords,
                                                 SweepContext::WrongSizes})
                        all.push_back({text, value, buffer.null, buffer.size, context});
        return all;
    }();
    return cases;
}

inline const char* sweepText(SweepText kind) {
    static const std::string longText(100000, 'k');
    switch (kind) {
        case SweepText::Null: return nullptr;
        case SweepText::Empty: return "";
        case SweepText::Long: return longText.c_str();
        case SweepText::NonAscii: return "\xC3\xA9t\xC3\xA9 \xFF\x80 model";
    }
    return nullptr;
}

inline bool hasRecords(SweepContext c) { return c == SweepContext::EmptyRecords || c == SweepContext::WrongSizes; }

// The results an export may give for a case, none of the texts being a key
// of any export, no model loaded, no file or directory of those names, a
// dialog that is cancelled and a launch that fails. Empty: any result.
inline std::vector<float> expectedResults(const std::string& name, const SweepCase& c) {
    const bool nullText = c.text == SweepText::Null;
    const bool tooLongForState = c.text == SweepText::Long;  // beyond every fixed capacity
    // Exports that fail with -1 on every such case.
    static const char* const alwaysFailing[] = {
        "ReplaceOBJVertices", "GetOBJGroupInfo", "GetOBJSmoothGroupInfo", "ExportOBJGroup", "ExportOBJSmoothGroup",
        "GetMesh3DInfo", "SetMesh3DInfo", "GetAlphaInfo", "GetTextureInfo", "SetMesh3DFromOBJGroup",
        "SetMesh3DFromOBJSmoothGroup", "MoveButtonAfter", "FileDelete", "FileCopyTo",
        "AppLinkOpenFile", "SetThumbnail", "SaveTextureThumbnail"};
    for (const char* failing : alwaysFailing) {
        if (name == failing) return {-1.0f};
    }
    if (name == "Version") return {1.91f};
    if (name == "LoadOBJFile" || name == "FreeOBJModel" || name == "GetOBJInfo" || name == "GetDirFileList" ||
        name == "GetFileInfo" || name == "ResetAppLinkPath") {
        return {0.0f};
    }
    if (name == "RenameAlpha" || name == "RenameTexture") return {!nullText && hasRecords(c.context) ? 0.0f : -1.0f};
    if (name == "GetFileList") return {tooLongForState ? -1.0f : 0.0f};
    if (name == "SetDefaultDir" || name == "SetDialogTitle") return {tooLongForState ? 34.0f : 0.0f};
    if (name == "FileCopyFrom") return {nullText ? -1.0f : tooLongForState ? 34.0f : 0.0f};
    if (name == "SetAppLinkPath") {
        if (nullText || c.text == SweepText::Empty) return {-1.0f};
        return {tooLongForState ? 34.0f : 0.0f};
    }
    if (name == "DirCreate" || name == "DirDelete") {
        // The non-ASCII name is a real directory name: made the first time,
        // and deleted again the first time.
        if (c.text == SweepText::NonAscii) return {0.0f, -1.0f};
        return {-1.0f};
    }
    return {};
}

struct SweepFailure {
    std::string exportName;
    size_t caseIndex;
    std::string what;
};

// Calls export function on every case; guard bytes surround a 64-byte
// buffer. between(name, case) runs after each call (state checks).
inline std::vector<SweepFailure> sweepExport(const std::string& name, SweptExport function, SweepScene& scene,
                                             const std::function<void(const SweepCase&, std::vector<SweepFailure>&)>&
                                                 between = nullptr) {
    std::vector<SweepFailure> failures;
    const std::vector<SweepCase>& cases = sweepCases();
    constexpr size_t kGuard = 64, kBuffer = 64;
    for (size_t i = 0; i < cases.size(); ++i) {
        const SweepCase& c = cases[i];
        // Guards of a known pattern around a zeroed buffer, so that a text
        // read from the buffer (MoveButtonAfter's) ends inside it.
        unsigned char storage[kGuard + kBuffer + kGuard];
        std::memset(storage, 0xA7, sizeof storage);
        std::memset(storage + kGuard, 0, kBuffer);
        char* buffer = c.nullBuffer ? nullptr : reinterpret_cast<char*>(storage + kGuard);
        const float result = function(sweepText(c.text), c.value, buffer, c.bufferSize, 0, 0, scene.context(c.context));
        const size_t writable = c.nullBuffer || c.bufferSize <= 0 ? 0 : static_cast<size_t>(c.bufferSize);
        for (size_t b = 0; b < sizeof storage; ++b) {
            const bool inside = b >= kGuard && b < kGuard + writable;
            const unsigned char initial = b >= kGuard && b < kGuard + kBuffer ? 0 : 0xA7;
            if (!inside && storage[b] != initial) {
                failures.push_back({name, i, "wrote byte " + std::to_string(static_cast<long>(b) - long(kGuard)) +
                                                 " with bufferSize " + std::to_string(c.bufferSize)});
                break;
            }
        }
        const std::vector<float> expected = expectedResults(name, c);
        bool matched = expected.empty() && !std::isnan(result);
        for (float e : expected) matched |= e == result;
        if (!matched) failures.push_back({name, i, "result " + std::to_string(result)});
        if (between) between(c, failures);
    }
    return failures;
}

}  // namespace tollgram::test
