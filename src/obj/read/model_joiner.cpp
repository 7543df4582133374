#include "obj/read/model_joiner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "obj/read/read_texts.h"
#include "platform/paths.h"
#include "platform/system.h"

namespace tollgram::obj {

namespace {

constexpr const char* kDefaultGroup = "default";

// The first text of the fatal faults of face lines, by fault.
const char* fatalText(LineFault fault) {
    switch (fault) {
        case LineFault::VertexZero: return texts::kVertexZero;
        case LineFault::VertexBeyond: return texts::kVertexBeyond;
        case LineFault::TextureZero: return texts::kTextureZero;
        case LineFault::TextureBeyond: return texts::kTextureBeyond;
        case LineFault::NormalZero: return texts::kNormalZero;
        case LineFault::NormalBeyond: return texts::kNormalBeyond;
        default: return nullptr;
    }
}

// One formatted entry of the error log, written through the system table;
// best effort, as the whole log.
template <class Value>
void appendToLog(std::FILE* log, const char* format, Value value) {
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return;
    std::unique_ptr<char[]> text(new (std::nothrow) char[size_t(length) + 1]);
    if (!text) return;
    (void)std::snprintf(text.get(), size_t(length) + 1, format, value);
    (void)platform::systemCalls().files.writeStream(text.get(), size_t(length), log);
}

}  // namespace

ModelJoiner::ModelJoiner(OBJModel& model, const std::string& path)
    : model_(model), path_(path), directory_(platform::directoryOf(path, platform::kEitherSeparator)), groupNames_{kDefaultGroup} {}

ModelJoiner::~ModelJoiner() {
    if (smoothingLog_) (void)platform::systemCalls().files.closeStream(smoothingLog_);  // best effort, as every line
}

const char* ModelJoiner::quoted(const char* line, const char* end, const char*& next) {
    const char* stop = line;
    while (stop != end && !isLineEnd(*stop)) ++stop;
    next = lineAfter(stop, end);
    if (const void* nul = std::memchr(line, '\0', size_t(stop - line))) stop = static_cast<const char*>(nul);
    line_.assign(line, stop);
    for (char& c : line_) {
        const bool space = c == ' ';
        c = lowerAscii(c);
        if (space) break;
    }
    return line_.c_str();
}

ReadStatus ModelJoiner::join(const ChunkRecords& records, const char* text, const char* end) {
    RecordCounts appended;
    for (size_t i = 0; i < records.events.size(); ++i) {
        const ChunkEvent& event = records.events[i];
        const ReadStatus status = appendRecords(records, appended, event.before);
        if (status != ReadStatus::Ok) return status;
        const char* line = text + event.offset;
        const ReadStatus read =
            event.fault == LineFault::None ? otherLine(line, end) : faceFault(event.fault, line, end);
        if (read != ReadStatus::Ok) return read;
    }
    return appendRecords(records, appended, records.counts());
}

ReadStatus ModelJoiner::appendRecords(const ChunkRecords& records, RecordCounts& appended, const RecordCounts& upTo) {
    // Indices are 32-bit and signed: no array may hold more records.
    constexpr uint64_t kMostRecords = INT32_MAX;
    PagedArray<Vec3>* const arrays[3] = {&model_._vertices, &model_._textureCoords, &model_._normals};
    for (int kind = 0; kind < 3; ++kind) {
        const uint32_t count = upTo.coordinates[kind] - appended.coordinates[kind];
        if (count == 0) continue;
        PagedArray<Vec3>& array = *arrays[kind];
        if (uint64_t(array._count) + count > kMostRecords ||
            !array.appendRange(records.coordinates[kind].data() + appended.coordinates[kind], count)) {
            return ReadStatus::OutOfMemory;
        }
        appended.coordinates[kind] = upTo.coordinates[kind];
    }
    if (uint64_t(model_._faces._count) + (upTo.faces - appended.faces) > kMostRecords) return ReadStatus::OutOfMemory;
    for (uint32_t f = appended.faces; f < upTo.faces; ++f) {
        OBJFace face = records.faces[f];
        face._smoothingGroup = smoothingGroup_;
        face._materialIndex = material_;
        if (!model_.appendFace(face, records.corners.data() + face._firstCorner)) return ReadStatus::OutOfMemory;
        appended.faces = f + 1;
    }
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::faceFault(LineFault fault, const char*& line, const char* end) {
    if (fault == LineFault::OutOfMemory) return ReadStatus::OutOfMemory;
    if (fault == LineFault::TooManyCorners) {
        appendDiagnostic(model_._errorText, model_._errorBound, {texts::kTooManyCorners});
        return ReadStatus::Ended;
    }
    const char* next;
    const char* text = quoted(line, end, next);
    if (const char* fatal = fatalText(fault)) {
        appendDiagnostic(model_._errorText, model_._errorBound, {fatal, text, texts::kFaultIn, path_, "\n"});
        return ReadStatus::Ended;
    }
    // An invalid corner: the face is dropped and reading goes on.
    appendDiagnostic(model_._errorText, model_._errorBound, {texts::kInvalidCorner, text, texts::kInvalidCornerEnd});
    line = next;
    return ReadStatus::Ok;
}

// The lines the line parser leaves to the store; comments, object names,
// indented and empty lines never come here.
ReadStatus ModelJoiner::otherLine(const char*& line, const char* end) {
    const char* next;
    const char* text = quoted(line, end, next);
    line = next;
    if (text[0] == 'g') return group(text + 1);
    if (std::strncmp(text, "mtllib", 6) == 0) return materialLibrary(text + 6);
    if (std::strncmp(text, "usemtl", 6) == 0) return selectMaterial(text + 6);
    if (text[0] == 's') return smoothing(text, text + 1);
    appendDiagnostic(model_._errorText, model_._errorBound,
                     {texts::kUnknownLine, text, texts::kUnknownLineIn, path_, texts::kUnknownLineEnd});
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::group(const char* words) {
    const ReadStatus ended = endGroupRun();
    if (ended != ReadStatus::Ok) return ended;
    size_t count = 0;
    for (const char* p = skipBlanks(words); *p; p = skipBlanks(p)) {
        const char* end = wordEnd(p);
        if (count == groupNames_.size()) groupNames_.emplace_back();
        groupNames_[count++].assign(p, end);
        p = end;
    }
    if (count == 0) groupNames_[count++] = kDefaultGroup;
    groupNames_.resize(count);
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::endGroupRun() {
    const uint32_t end = model_._faces._count;
    const uint32_t first = groupRunStart_;
    if (end == first) return ReadStatus::Ok;
    groupRunStart_ = end;
    // Groups come into being here, in the order the line names them. A name
    // given k times lists each face k times, as k joins one by one would.
    std::vector<FaceIndexList*> lists;
    lists.reserve(groupNames_.size());
    for (const std::string& name : groupNames_) {
        FaceIndexList* list = model_.findOrCreateGroupFaceList(name);
        if (!list) return ReadStatus::OutOfMemory;
        lists.push_back(list);
    }
    std::sort(lists.begin(), lists.end(), std::less<FaceIndexList*>());
    for (size_t i = 0; i < lists.size();) {
        size_t same = i + 1;
        while (same < lists.size() && lists[same] == lists[i]) ++same;
        if (!lists[i]->appendRun(first, end - first, uint32_t(same - i))) return ReadStatus::OutOfMemory;
        i = same;
    }
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::endMaterialRun() {
    const uint32_t end = model_._faces._count;
    const uint32_t first = materialRunStart_;
    materialRunStart_ = end;
    if (end == first || material_ == -1 || size_t(material_) >= model_._materialFaces.size()) return ReadStatus::Ok;
    return model_._materialFaces[size_t(material_)].appendRun(first, end - first, 1) ? ReadStatus::Ok
                                                                                       : ReadStatus::OutOfMemory;
}

ReadStatus ModelJoiner::endRuns() {
    const ReadStatus groups = endGroupRun();
    const ReadStatus materials = endMaterialRun();
    return groups != ReadStatus::Ok ? groups : materials;
}

ReadStatus ModelJoiner::smoothing(const char* line, const char* words) {
    const char* word = skipBlanks(words);
    if (!*word) return ReadStatus::Ok;
    const char* end = wordEnd(word);
    if (end - word == 3 && lowerAscii(word[0]) == 'o' && lowerAscii(word[1]) == 'f' && lowerAscii(word[2]) == 'f') {
        smoothingGroup_ = 0;
        return ReadStatus::Ok;
    }
    uint32_t number;
    if (scanUnsigned(word, number)) smoothingGroup_ = number;
    if (model_._smoothingGroupCount < kMaxSmoothingGroups) {
        for (uint32_t i = 0; i < model_._smoothingGroupCount; ++i) {
            if (model_._smoothingGroups[i] == smoothingGroup_) return ReadStatus::Ok;
        }
        model_._smoothingGroups[model_._smoothingGroupCount++] = smoothingGroup_;
        return ReadStatus::Ok;
    }
    // More distinct numbers than the model records: noted in the log only,
    // on a best-effort basis (a log that can't be written changes nothing).
    if (!smoothingLogOpened_) {
        smoothingLogOpened_ = true;
        smoothingLog_ = platform::systemCalls().files.openStream(texts::kErrorLogName, "a");
    }
    if (smoothingLog_) {
        appendToLog(smoothingLog_, texts::kLogCountFormat, int(model_._smoothingGroupCount));
        appendToLog(smoothingLog_, texts::kLogLineFormat, line);
    }
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::materialLibrary(const char* words) {
    const char* word = skipBlanks(words);
    if (!*word) return ReadStatus::Ok;
    std::vector<Material> list;
    const ReadStatus read = model_.readMTL(std::string(directory_).append(word, wordEnd(word)), list, 0);
    if (read == ReadStatus::OutOfMemory) return read;
    if (read != ReadStatus::Ok) {
        clearDiagnostics(model_._errorText, model_._errorBound);
        return ReadStatus::Ok;
    }
    for (const Material& material : list) {
        if (!model_.addMaterial(material)) return ReadStatus::OutOfMemory;
    }
    return ReadStatus::Ok;
}

ReadStatus ModelJoiner::selectMaterial(const char* words) {
    const ReadStatus ended = endMaterialRun();
    if (ended != ReadStatus::Ok) return ended;
    const char* word = skipBlanks(words);
    if (!*word) {
        material_ = -1;
        return ReadStatus::Ok;
    }
    word_.assign(word, wordEnd(word));
    material_ = model_.findMaterial(word_);
    return ReadStatus::Ok;
}

}  // namespace tollgram::obj
