#include "host_tool/hints.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "frame/export_keys.h"

namespace tollgram::host_tool {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits (insertions, deletions, changes) from a to b, case not counting.
size_t editsBetween(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string quotedList(const std::vector<std::string>& words) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
        text += "\"" + words[i] + "\"";
    }
    return text;
}

// What a call to these exports reads from the scene, and the option that
// gives it.
struct Needs {
    bool SceneParts::*part;
    const char* what;
    const char* option;
};

const std::map<std::string, Needs>& needs() {
    static const std::map<std::string, Needs> table = {
        {"GetMesh3DInfo", {&SceneParts::mesh, "no mesh", "--mesh FILE.obj"}},
        {"SetMesh3DInfo", {&SceneParts::mesh, "no mesh", "--mesh FILE.obj"}},
        {"SetMesh3DFromOBJGroup", {&SceneParts::mesh, "no mesh", "--mesh FILE.obj"}},
        {"SetMesh3DFromOBJSmoothGroup", {&SceneParts::mesh, "no mesh", "--mesh FILE.obj"}},
        {"GetTextureInfo", {&SceneParts::texture, "no texture", "--texture FILE or --texture-name NAME"}},
        {"RenameTexture", {&SceneParts::texture, "no texture", "--texture FILE or --texture-name NAME"}},
        {"SaveTextureThumbnail", {&SceneParts::texture, "no texture", "--texture FILE"}},
        {"GetAlphaInfo", {&SceneParts::alpha, "no alpha", "--alpha-name NAME"}},
        {"RenameAlpha", {&SceneParts::alpha, "no alpha", "--alpha-name NAME"}},
    };
    return table;
}

}  // namespace

const std::vector<std::string>& keysOf(const std::string& exportName) {
    static const std::vector<std::string> none;
    static const std::map<std::string, std::vector<std::string>> table = [] {
        std::map<std::string, std::vector<std::string>> made;
        for (const keys::ExportKeys& entry : keys::kExportKeys) {
            made[entry.exportName].assign(entry.keys.begin(), entry.keys.end());
        }
        return made;
    }();
    const auto found = table.find(exportName);
    return found == table.end() ? none : found->second;
}

std::string nearestName(const std::string& word, const std::vector<std::string>& names) {
    // Short words may differ only in case; longer ones by a letter or two.
    size_t bestEdits = std::min<size_t>(2, word.size() / 3) + 1;
    std::string best;
    for (const std::string& name : names) {
        const size_t edits = editsBetween(word, name);
        if (edits < bestEdits) {
            best = name;
            bestEdits = edits;
        }
    }
    return best;
}

const ExportArguments& argumentsOf(const std::string& exportName) {
    static const ExportArguments none;
    static const std::map<std::string, ExportArguments> table = {
        {"GetOBJGroupInfo", {"the group's number, from 1"}},
        {"GetOBJSmoothGroupInfo", {"the smoothing group's position, from 1"}},
        {"ExportOBJGroup", {"the group's number, from 1, or 0 for the whole model"}},
        {"ExportOBJSmoothGroup", {"the smoothing group's position, from 1"}},
        {"GetMesh3DInfo", {"the group's index, from 0, for \"groupName\""}},
        {"SetMesh3DInfo", {"the value to set"}},
        {"SetMesh3DFromOBJGroup", {"the group's number, from 1"}},
        {"SetMesh3DFromOBJSmoothGroup", {"the smoothing group's position, from 1"}},
        {"MoveButtonAfter", {"", true}},
        {"GetFileList", {"1 for a single selection"}},
        {"GetFileInfo", {"the entry, from 1"}},
        {"SetThumbnail", {"the size in pixels"}},
        {"SaveTextureThumbnail", {"the size in pixels, or 0 for the default"}},
    };
    const auto found = table.find(exportName);
    return found == table.end() ? none : found->second;
}

namespace {

// "Export", "OBJ", "Group" of ExportOBJGroup; "Mesh3D" stays one word.
std::vector<std::string> wordsOf(const std::string& name) {
    std::vector<std::string> words;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool upper = c >= 'A' && c <= 'Z';
        const bool startsWord = words.empty() || (upper && (!(name[i - 1] >= 'A' && name[i - 1] <= 'Z') ||
                                                            (i + 1 < name.size() && name[i + 1] >= 'a' && name[i + 1] <= 'z')));
        if (startsWord) words.emplace_back();
        words.back() += lower(c);
    }
    return words;
}

}  // namespace

std::vector<std::string> namesByWords(const std::string& word, const std::vector<std::string>& names) {
    const std::vector<std::string> wanted = wordsOf(word);
    std::vector<std::string> best;
    size_t fewestMore = SIZE_MAX;
    for (const std::string& name : names) {
        const std::vector<std::string> held = wordsOf(name);
        const bool holdsAll = std::all_of(wanted.begin(), wanted.end(), [&](const std::string& w) {
            return std::find(held.begin(), held.end(), w) != held.end();
        });
        if (!holdsAll || held.size() < wanted.size()) continue;
        const size_t more = held.size() - wanted.size();
        if (more < fewestMore) best.clear(), fewestMore = more;
        if (more == fewestMore) best.push_back(name);
    }
    return best;
}

const std::vector<std::string>& exportNames() {
    static const std::vector<std::string> names = {
#define TOLLGRAM_EXPORT(name, failure) #name,
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    return names;
}

std::string hintFor(const ScriptCall& call, float result, const SceneParts& scene) {
    const std::vector<std::string>& keys = keysOf(call.exportName);
    if (!keys.empty() && call.text && std::find(keys.begin(), keys.end(), *call.text) == keys.end()) {
        const std::string meant = nearestName(*call.text, keys);
        if (!meant.empty()) return "keys match exactly: \"" + meant + "\", not \"" + *call.text + "\"";
        return call.exportName + " takes the keys " + quotedList(keys);
    }
    const auto need = needs().find(call.exportName);
    if (need != needs().end() && result == -1.0f && !(scene.*need->second.part)) {
        return "the host has " + std::string(need->second.what) + ": give one with " + need->second.option;
    }
    return {};
}

std::string notAnExport(const std::string& name) {
    std::vector<std::string> meant;
    const std::string near = nearestName(name, exportNames());
    if (!near.empty()) meant.push_back(near);
    if (meant.empty()) meant = namesByWords(name, exportNames());
    std::string text = name + " is not an export of Tollgram";
    for (size_t i = 0; i < meant.size(); ++i) text += (i == 0 ? "; did you mean " : i + 1 == meant.size() ? " or " : ", ") + meant[i];
    return text + (meant.empty() ? "" : "?");
}

}  // namespace tollgram::host_tool
