#pragma once
// The library's only way to talk to the user: an ownerless, system-modal
// information box that comes to the foreground, and returns when closed.

namespace tollgram {

inline constexpr const char* kDefaultNoteCaption = "Quarnel Note";
// MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND
inline constexpr unsigned kNoteStyle = 0x11040u;

// A null caption shows the default one.
void showNote(const char* caption, const char* text);

}  // namespace tollgram
