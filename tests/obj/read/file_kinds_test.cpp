// Only regular files are read: a device name, a pipe or a directory given as
// the OBJ file or named by a material-library line counts as a file that
// can't be opened, and never makes the reader wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "obj/model/obj_model.h"
#include "support/time_limit.h"
#include "obj/temp_files.h"

namespace tollgram::obj {
namespace {

using test::PathForm;
using test::TempFolder;

// Paths in dir that name something other than a regular file: devices on
// Windows (whatever the folder or extension), a FIFO and a device on POSIX,
// and a directory on both.
std::vector<std::string> notRegularFiles(const TempFolder& dir) {
    std::filesystem::create_directory(dir.path() / "folder.mtl");
    std::vector<std::string> paths = {dir.pathOf("folder.mtl")};
#if defined(_WIN32)
    for (const char* name : {"NUL", "COM1", "AUX"}) paths.emplace_back(name);
    for (const char* name : {"aux.mtl", "com1", "com1.mtl", "nul.mtl"}) paths.push_back(dir.pathOf(name));
#else
    const std::string fifo = dir.pathOf("pipe.mtl");
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    paths.push_back(fifo);
    paths.emplace_back("/dev/null");
#endif
    return paths;
}

// The bare names that notRegularFiles gives inside dir, as a material-library
// line names them.
std::vector<std::string> namesInFolder(const TempFolder& dir, const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    const std::string prefix = dir.pathOf("");
    for (const std::string& path : paths) {
        if (path.rfind(prefix, 0) == 0) names.push_back(path.substr(prefix.size()));
    }
    return names;
}

TEST(FileKinds, AnOBJPathThatIsNoRegularFileIsNotFound) {
    TempFolder dir{PathForm::Generic};
    for (const std::string& path : notRegularFiles(dir)) {
        bool read = true;
        std::string errorText;
        tollgram::test::withinTimeLimit(("readOBJ(\"" + path + "\")").c_str(), [&] {
            OBJModel model;
            read = model.readOBJ(path);
            errorText = model._errorText;
        });
        EXPECT_FALSE(read) << path;
        EXPECT_EQ(errorText, "OBJ file not found: " + path);
    }
}

TEST(FileKinds, MaterialLibrariesThatAreNoRegularFilesAreSkipped) {
    TempFolder dir{PathForm::Generic};
    const std::vector<std::string> names = namesInFolder(dir, notRegularFiles(dir));
    ASSERT_FALSE(names.empty());
    dir.write("real.mtl", "newmtl red\nKd 1 0 0\n");
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (const std::string& name : names) text += "mtllib " + name + "\n";
    text += "mtllib real.mtl\nusemtl red\nf 1 2 3\n";
    const std::string path = dir.write("model.obj", text);

    bool read = false;
    std::string errorText = "not read";
    std::vector<std::string> materials;
    int32_t material = -2;
    tollgram::test::withinTimeLimit("readOBJ of a file naming device libraries", [&] {
        OBJModel model;
        read = model.readOBJ(path);
        errorText = model._errorText;
        for (const Material& m : model._materials) materials.push_back(m._name);
        material = faceValueAt(model, 0)._materialIndex;
    });
    EXPECT_TRUE(read);
    EXPECT_EQ(errorText, "");  // a library that can't be read leaves no text
    EXPECT_EQ(materials, std::vector<std::string>{"red"});
    EXPECT_EQ(material, 0);
}

TEST(FileKinds, ARegularFileIsReadWhateverItsName) {
    TempFolder dir{PathForm::Generic};
    // Names a device only as a whole word: "com10" and "auxiliary" are files.
    for (const char* name : {"com10.obj", "auxiliary.obj", "null.obj"}) {
        OBJModel model;
        EXPECT_TRUE(model.readOBJ(dir.write(name, "v 0 0 0\nf 1\n"))) << name << ": " << model._errorText;
        EXPECT_EQ(model._faces._count, 1u) << name;
    }
}

}  // namespace
}  // namespace tollgram::obj
