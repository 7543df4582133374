#include "obj/model_loading.h"

#include <memory>
#include <new>
#include <string>

#include "frame/message_box.h"
#include "frame/note_text.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"

namespace tollgram::obj {

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

Outcome loadCurrentModel(const char* text) {
    releaseCurrentModel();
    std::string path;
    if (!text || !copyPath(text, path)) return failed();
    auto* model = new (std::nothrow) OBJModel();
    if (!model) return failed();
    objState().currentModel = model;
    if (model->readOBJ(path)) return counted(static_cast<uint32_t>(model->_groupNames.size()));

    // The model goes before the box: a read that ran out of memory must not
    // keep it while the user looks at why.
    objState().currentModel = nullptr;
    std::string errorText;
    errorText.swap(model->_errorText);
    const uint64_t linesBeyond = model->_errorBound.linesBeyond();
    delete model;
    if (errorText.empty()) return failed();
    NoteText note;
    boundNoteText(errorText, note, linesBeyond);
    std::string().swap(errorText);
    showNote(kImportErrorCaption, note.text);
    return failed();
}

Outcome replaceCurrentVertices(const char* text) {
    OBJModel* current = objState().currentModel;
    if (!current || !text || text[0] == '\0') return failed();
    std::string path;
    if (!copyPath(text, path)) return failed();
    std::unique_ptr<OBJModel> other(new (std::nothrow) OBJModel());
    if (!other) return failed();
    if (!other->readOBJ(path)) return failed(Failure::UnusableInput);
    // The positions are copied into the current model's own blocks and the
    // other model goes whole: its blocks share slabs with its faces, normals
    // and texture coordinates, which taking them would keep.
    if (!current->_vertices.overwriteWith(other->_vertices)) return failed(Failure::VertexCountsDiffer);
    return succeeded();
}

}  // namespace tollgram::obj
