#include "frame/message_box.h"

#include "platform/system.h"

namespace tollgram {

void showNote(const char* caption, const char* text) {
    platform::systemCalls().messageBoxes.show(caption ? caption : kDefaultNoteCaption, text ? text : "", kNoteStyle);
}

}  // namespace tollgram
