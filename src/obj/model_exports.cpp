// The exports that own the current model: loading, freeing, and taking new
// vertex positions from a second file.
#include <memory>
#include <new>
#include <string>

#include "frame/call_frame.h"
#include "frame/message_box.h"
#include "frame/note_text.h"
#include "frame/results.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"

namespace tollgram::work {

namespace {

constexpr const char* kImportErrorCaption = "IMPORT ERROR";

// The path as the reader takes it; false when there is no memory for the
// copy, which is then an ordinary failure of the export, not a throw.
bool copyPath(const char* text, std::string& path) noexcept {
    try {
        path = text;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

float LoadOBJFile(const CallFrame& frame) {
    obj::releaseCurrentModel();
    std::string path;
    if (!frame.text || !copyPath(frame.text, path)) return 0.0f;
    auto* model = new (std::nothrow) obj::OBJModel();
    if (!model) return 0.0f;
    obj::objState().currentModel = model;
    if (model->readOBJ(path)) return unsignedResult(static_cast<uint32_t>(model->_groupNames.size()));

    // The model goes before the box: a read that ran out of memory must not
    // keep it while the user looks at why.
    obj::objState().currentModel = nullptr;
    std::string errorText;
    errorText.swap(model->_errorText);
    const uint64_t linesBeyond = model->_errorBound.linesBeyond();
    delete model;
    if (errorText.empty()) return 0.0f;
    NoteText note;
    boundNoteText(errorText, note, linesBeyond);
    std::string().swap(errorText);
    showNote(kImportErrorCaption, note.text);
    return 0.0f;
}

float FreeOBJModel(const CallFrame&) {
    obj::releaseCurrentModel();
    return kSuccess;
}

float ReplaceOBJVertices(const CallFrame& frame) {
    obj::OBJModel* current = obj::objState().currentModel;
    if (!current || !frame.text || frame.text[0] == '\0') return kFailure;
    std::string path;
    if (!copyPath(frame.text, path)) return kFailure;
    std::unique_ptr<obj::OBJModel> other(new (std::nothrow) obj::OBJModel());
    if (!other) return kFailure;
    if (!other->readOBJ(path)) return kUnusableInput;
    // The positions are copied into the current model's own blocks and the
    // other model goes whole: its blocks share slabs with its faces, normals
    // and texture coordinates, which taking them would keep.
    if (!current->_vertices.overwriteWith(other->_vertices)) return kVertexCountsDiffer;
    return kSuccess;
}

}  // namespace tollgram::work
