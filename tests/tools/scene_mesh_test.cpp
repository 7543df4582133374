// The host mesh from --mesh against the library's own reading of the same
// file: the same vertices, polygons and group names, or a refusal where the
// library refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host_tool/plugin_library.h"
#include "host_tool/scene.h"
#include "support/temp_folder.h"

namespace tollgram::host_tool {
namespace {

namespace fs = std::filesystem;

// The library's model of a file, through its exports.
struct LibraryModel {
    bool loaded = false;
    uint32_t vertices = 0, faces = 0;
    std::vector<std::string> groups;
};

class LibraryReader {
public:
    LibraryReader() {
        std::string error;
        EXPECT_TRUE(library_.open(TOLLGRAM_LIBRARY_FILE, error)) << error;
    }
    ~LibraryReader() { call("FreeOBJModel"); }

    LibraryModel read(const std::string& path) {
        LibraryModel model;
        const float groups = call("LoadOBJFile", path.c_str());
        model.vertices = static_cast<uint32_t>(call("GetOBJInfo", "vertexCount"));
        model.loaded = groups > 0 || model.vertices > 0;
        model.faces = static_cast<uint32_t>(call("GetOBJInfo", "faceCount"));
        for (int g = 1; g <= static_cast<int>(groups); ++g) {
            char name[512] = {};
            call("GetOBJGroupInfo", "name", g, name, sizeof name);
            model.groups.emplace_back(name);
        }
        return model;
    }

private:
    float call(const char* name, const char* text = nullptr, double value = 0, char* buffer = nullptr, int32_t size = 0) {
        const ExportFunction function = library_.find(name);
        return function ? function(text, value, buffer, size, 0, 0, nullptr) : -99.0f;
    }
    PluginLibrary library_;
};

void expectSameAsLibrary(const SceneMesh& mesh, const LibraryModel& model, const std::string& what) {
    EXPECT_EQ(mesh.positions.size() / 3, model.vertices) << what;
    EXPECT_EQ(mesh.polygons.size(), model.faces) << what;
    EXPECT_EQ(mesh.groupNames, model.groups) << what;
}

TEST(SceneMesh, NamesGroupsAndKeepsFacesAsTheLibraryDoes) {
    test::TempFolder folder;
    const std::string path = folder.write("groups.obj",
                                          "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                                          "f 1 2 3\n"                 // before any g: default
                                          "g front cube\n"            // two groups
                                          "f 1 2 4\n"
                                          "G Back\n"                  // the keyword in capitals, the name as written
                                          "g unused\n"                // no face follows: no group
                                          "g\n"                       // no word: default again
                                          "F -1 -2 -3 -1\n"           // counted back; vertex -1 named twice
                                          "g  side\ttab \n"
                                          "f 1/1/1 2//1 3/1/1\n"      // a corner of another form: left out
                                          "  f 1 2 3\n"               // indented: not read
                                          "f 2/1 3/1 4/1\r\n"
                                          "vp 5 5 5\n");              // a parameter-space vertex is a vertex too
    SceneMesh mesh;
    std::string error;
    ASSERT_TRUE(readSceneMesh(path, mesh, error)) << error;
    EXPECT_EQ(mesh.groupNames, (std::vector<std::string>{"default", "front", "cube", "side", "tab"}));
    ASSERT_EQ(mesh.polygons.size(), 4u);
    EXPECT_EQ(mesh.polygons[2], (std::vector<uint32_t>{3, 2, 1}));
    EXPECT_EQ(mesh.polygons[3], (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(mesh.positions.size(), 5u * 3u);

    LibraryReader library;
    expectSameAsLibrary(mesh, library.read(path), "groups.obj");
}

// A byte-order mark, old Mac line ends and a mix of line ends read as the
// library reads them; UTF-16 text is refused by both.
TEST(SceneMesh, ReadsEncodingsAndLineEndsAsTheLibraryDoes) {
    test::TempFolder folder;
    LibraryReader library;
    const std::string bom = folder.write("bom.obj", "\xEF\xBB\xBFv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n");
    const std::string mac = folder.write("mac.obj", "v 0 0 0\rv 1 0 0\rv 0 1 0\rg a\rf 1 2 3\r\nf -1 -2 -3\r");
    for (const std::string& path : {bom, mac}) {
        SceneMesh mesh;
        std::string error;
        ASSERT_TRUE(readSceneMesh(path, mesh, error)) << error;
        expectSameAsLibrary(mesh, library.read(path), path);
    }
    SceneMesh mesh;
    std::string error;
    ASSERT_TRUE(readSceneMesh(bom, mesh, error));
    EXPECT_EQ(mesh.positions.size(), 4u * 3u);
    ASSERT_TRUE(readSceneMesh(mac, mesh, error));
    EXPECT_EQ(mesh.polygons.size(), 2u);

    const std::string wide = folder.write("wide.obj", std::string("v\0 \0""0\0 \0""0\0 \0""0\0\n\0", 16));
    EXPECT_FALSE(readSceneMesh(wide, mesh, error));
    EXPECT_NE(error.find("UTF-16"), std::string::npos) << error;
    EXPECT_FALSE(library.read(wide).loaded);
}

TEST(SceneMesh, RefusesWhatTheLibraryRefusesAndSaysWhichLine) {
    test::TempFolder folder;
    struct Case {
        const char* name;
        const char* content;
        const char* message;
    };
    const Case cases[] = {
        {"zero.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", "line 4: the face names vertex 0"},
        {"ahead.obj", "v 0 0 0\nv 1 0 0\n# the third vertex comes later\nf 1 2 3\nv 0 1 0\n",
         "line 4: the face names vertex 3, but only 2 vertices come before it"},
        {"back.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -4 1 2\n", "line 4: the face names vertex -4"},
        {"nine.obj", "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nv 7 0 0\nv 8 0 0\n"
                     "f 1 2 3 4 5 6 7 8 9\n",
         "line 10: the face has a ninth corner; a face has at most 8"},
        // The ninth corner refuses the file before the bad vertex after it is read.
        {"nine-then-beyond.obj", "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 0 0\nv 6 0 0\nv 7 0 0\n"
                                 "v 8 0 0\nf 1 2 3 4 5 6 7 8 9 99\n",
         "line 10: the face has a ninth corner"},
    };
    LibraryReader library;
    for (const Case& c : cases) {
        const std::string path = folder.write(c.name, c.content);
        SceneMesh mesh;
        std::string error;
        EXPECT_FALSE(readSceneMesh(path, mesh, error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_NE(error.find(c.name), std::string::npos) << error;
        EXPECT_FALSE(library.read(path).loaded) << c.name << ": the library reads what the tool refuses";
    }
    SceneMesh mesh;
    std::string error;
    EXPECT_FALSE(readSceneMesh(folder.at("missing.obj"), mesh, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
    // POSIX opens a folder as a file whose reads fail.
    fs::create_directory(folder.path() / "models");
    EXPECT_FALSE(readSceneMesh(folder.at("models"), mesh, error));
    EXPECT_NE(error.find("models: it is a folder"), std::string::npos) << error;
}

TEST(SceneMesh, CountsCornersAsTheLibraryDoes) {
    test::TempFolder folder;
    std::string vertices;
    for (int i = 0; i < 12; ++i) vertices += "v " + std::to_string(i) + " 0 0\n";
    struct Case {
        const char* name;
        const char* faces;
        size_t polygons;
    };
    const Case cases[] = {
        // Nine corners naming eight vertices: a vertex named twice counts once.
        {"eight.obj", "f 1 2 3 4 5 6 7 8 1\n", 1},
        // A corner of another form leaves the face out before its ninth is counted.
        {"mixed.obj", "f 1 2 3/1 4 5 6 7 8 9 10\nf 1 2 3\n", 1},
    };
    LibraryReader library;
    for (const Case& c : cases) {
        const std::string path = folder.write(c.name, vertices + "vt 0 0\n" + c.faces);
        SceneMesh mesh;
        std::string error;
        ASSERT_TRUE(readSceneMesh(path, mesh, error)) << c.name << ": " << error;
        EXPECT_EQ(mesh.polygons.size(), c.polygons) << c.name;
        expectSameAsLibrary(mesh, library.read(path), c.name);
    }
    // One face of 200,000 corners is refused at its ninth, as by the library.
    std::string many;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on
    // `" " + temporary`.
    for (int i = 0; i < 200000; ++i) many.append("v ").append(std::to_string(i)).append(" 0 0\n");
    many += "f";
    for (int i = 1; i <= 200000; ++i) many.append(" ").append(std::to_string(i));
    const std::string path = folder.write("many.obj", many + "\n");
    SceneMesh mesh;
    std::string error;
    EXPECT_FALSE(readSceneMesh(path, mesh, error));
    EXPECT_NE(error.find("line 200001: the face has a ninth corner"), std::string::npos) << error;
    EXPECT_FALSE(library.read(path).loaded);
}

TEST(SceneMesh, AgreesWithTheLibraryOnEveryCorpusFile) {
    LibraryReader library;
    size_t compared = 0, refusedByBoth = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TOLLGRAM_CORPUS_DIR)) {
        if (entry.path().extension() != ".obj") continue;
        const std::string path = entry.path().string();
        SceneMesh mesh;
        std::string error;
        const bool read = readSceneMesh(path, mesh, error);
        const LibraryModel model = library.read(path);
        if (!read) {
            // Refused by the tool only where the library refuses too.
            EXPECT_FALSE(model.loaded) << path << ": " << error;
            ++refusedByBoth;
            continue;
        }
        if (!model.loaded) continue;  // the library refuses for a reason the host mesh does not depend on
        expectSameAsLibrary(mesh, model, path);
        ++compared;
    }
    EXPECT_GT(compared, 50u);
    std::printf("corpus: %zu files read alike, %zu refused by both\n", compared, refusedByBoth);
}

}  // namespace
}  // namespace tollgram::host_tool
