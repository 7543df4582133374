#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "obj/temp_files.h"

namespace tollgram::obj {
namespace {

using test::readText;
using test::PathForm;
using test::TempFolder;

struct MtlRead {
    bool ok;
    std::vector<Material> list;
    std::string errorText;
    std::string path;
};

MtlRead readLibrary(const TempFolder& dir, const std::string& text, uint8_t stopOnUnknown = 0) {
    OBJModel model;
    MtlRead read{false, {}, "", dir.write("lib.mtl", text)};
    read.ok = model.readMTL(read.path, read.list, stopOnUnknown) == ReadStatus::Ok;
    read.errorText = model._errorText;
    return read;
}

TEST(MtlReader, FillsOneRecordPerMaterialInFileOrder) {
    TempFolder dir{PathForm::Generic};
    const auto read = readLibrary(dir,
                                  "# two materials\n"
                                  "\n"
                                  "newmtl Red Paint\r\n"
                                  "  KD 1 0 0\n"
                                  "Ka 0.1 0.2 0.3\n"
                                  "ks 0.5 0.5 0.5 extra words\n"
                                  "Ns 96.5\n"
                                  "d 0.25\n"
                                  "illum 2\n"
                                  "map_Kd wood.png\n"
                                  "map_Ks shiny.png\n"
                                  "map_Ka amb.png\n"
                                  "map_bump sub/b.png\n"
                                  "map_d -s alpha.png\n"
                                  "newmtl second\n"
                                  "Ni 1.5\n");
    ASSERT_TRUE(read.ok) << read.errorText;
    EXPECT_EQ(read.errorText, "");
    ASSERT_EQ(read.list.size(), 2u);
    const Material& red = read.list[0];
    const std::string directory = dir.pathOf("");
    EXPECT_EQ(red._name, "Red");
    EXPECT_EQ(std::vector<double>(red._diffuse, red._diffuse + 3), (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(std::vector<double>(red._ambient, red._ambient + 3), (std::vector<double>{0.1, 0.2, 0.3}));
    EXPECT_EQ(std::vector<double>(red._specular, red._specular + 3), (std::vector<double>{0.5, 0.5, 0.5}));
    EXPECT_EQ(red._specularExponent, 96.5);
    EXPECT_EQ(red._dissolve, 0.25);
    EXPECT_EQ(red._opticalDensity, 1.0);
    EXPECT_EQ(red._illumination, 2.0);
    EXPECT_EQ(red._diffuseMap, directory + "wood.png");
    EXPECT_EQ(red._specularMap, directory + "shiny.png");
    EXPECT_EQ(red._ambientMap, "amb.png");
    EXPECT_EQ(red._bumpMap, directory + "sub/b.png");
    EXPECT_EQ(red._dissolveMap, directory + "-s");
    const Material& second = read.list[1];
    EXPECT_EQ(second._name, "second");
    EXPECT_EQ(second._opticalDensity, 1.5);
    EXPECT_EQ(second._diffuse[0], 0.0);
    EXPECT_EQ(second._dissolve, 1.0);
    EXPECT_EQ(second._diffuseMap, "");
}

TEST(MtlReader, MissingOrUnreadableArgumentsLeaveFieldsAlone) {
    TempFolder dir{PathForm::Generic};
    const auto read = readLibrary(dir,
                                  "newmtl first\nKd 0.3 0.4 0.6\nNs 10\nmap_Kd a.png\n"
                                  "newmtl\n"
                                  "Kd 0.5\nKa x 1 1\nNs\nd  \nillum two\nmap_Kd\nmap_Ka   \n");
    ASSERT_TRUE(read.ok) << read.errorText;
    EXPECT_EQ(read.errorText, "");
    ASSERT_EQ(read.list.size(), 2u);
    const Material& fresh = read.list[1];
    EXPECT_EQ(fresh._name, "");
    EXPECT_EQ(std::vector<double>(fresh._diffuse, fresh._diffuse + 3), (std::vector<double>{0.5, 0, 0}));
    EXPECT_EQ(std::vector<double>(fresh._ambient, fresh._ambient + 3), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(fresh._specularExponent, 0.0);
    EXPECT_EQ(fresh._dissolve, 1.0);
    EXPECT_EQ(fresh._illumination, 0.0);
    EXPECT_EQ(fresh._diffuseMap, "");
    EXPECT_EQ(fresh._ambientMap, "");

    const auto partial = readLibrary(dir, "newmtl m\nKd 0.1 0.2 0.3\nKd 0.9\nKs 1 1 1\nKs 2 x 3\n");
    ASSERT_EQ(partial.list.size(), 1u);
    const Material& m = partial.list[0];
    EXPECT_EQ(std::vector<double>(m._diffuse, m._diffuse + 3), (std::vector<double>{0.9, 0.2, 0.3}));
    EXPECT_EQ(std::vector<double>(m._specular, m._specular + 3), (std::vector<double>{2, 1, 1}));
}

TEST(MtlReader, ReportsStatementsItDoesNotKnow) {
    struct Case {
        const char* name;
        std::string text;
        uint8_t stopOnUnknown;
        bool ok;
        size_t materials;
        std::string errorText;  // "PATH" stands for the path
    };
    const Case cases[] = {
        {"empty file", "", 0, true, 0, ""},
        {"comments only", "# a\n   # b\n\n\t\n", 0, true, 0, ""},
        {"unknown keywords go on",
         "newmtl a\nTr 0.5\nKe 0 0 0\nbump b.png\nmap_Ns s.png\nKd 1 1 1\n",
         0,
         true,
         1,
         " line \"Tr 0.5\" in PATH in not valid.\n line \"Ke 0 0 0\" in PATH in not valid.\n"
         " line \"bump b.png\" in PATH in not valid.\n line \"map_Ns s.png\" in PATH in not valid.\n"},
        {"unknown keyword stops when asked", "newmtl a\nTr 0.5\nnewmtl b\n", 1, false, 1,
         " line \"Tr 0.5\" in PATH in not valid.\n"},
        {"statement before the first material", "Kd 1 1 1\nnewmtl a\n", 0, false, 0,
         " line \"Kd 1 1 1\" for newmtl in PATH"},
        {"unknown word before the first material", "  foo bar\r\n", 0, false, 0, " line \"  foo bar\" for newmtl in PATH"},
        {"a keyword must be the whole word", "newmtl a\nkdx 1\n", 0, true, 1, " line \"kdx 1\" in PATH in not valid.\n"},
        {"a long unknown word", "newmtl a\nverylongkeywordthatisnotknown 1\n", 0, true, 1,
         " line \"verylongkeywordthatisnotknown 1\" in PATH in not valid.\n"},
        {"same name twice", "newmtl a\nnewmtl a\n", 0, true, 2, ""},
        {"no line feed at the end", "newmtl a\nd 0.5", 0, true, 1, ""},
        {"byte-order mark and old Mac line ends", "\xEF\xBB\xBFnewmtl a\rKd 1 0 0\rnewmtl b\r", 0, true, 2, ""},
        {"UTF-16 text", std::string("\xFF\xFEn\0e\0w\0m\0t\0l\0 \0a\0", 18), 0, false, 0,
         "Materials file is UTF-16 text, which is not read (save it as ANSI or UTF-8): PATH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        const auto read = readLibrary(dir, c.text, c.stopOnUnknown);
        EXPECT_EQ(read.ok, c.ok);
        EXPECT_EQ(read.list.size(), c.materials);
        std::string expected = c.errorText;
        for (size_t at; (at = expected.find("PATH")) != std::string::npos;) expected.replace(at, 4, read.path);
        EXPECT_EQ(read.errorText, expected);
    }
}

TEST(MtlReader, AMissingLibraryIsNamed) {
    TempFolder dir{PathForm::Generic};
    OBJModel model;
    model._errorText = "earlier ";
    std::vector<Material> list;
    const std::string path = dir.pathOf("none.mtl");
    EXPECT_EQ(model.readMTL(path, list, 0), ReadStatus::Ended);
    EXPECT_EQ(model._errorText, "earlier Materials file missing: " + path);
    EXPECT_TRUE(list.empty());
}

TEST(MtlReader, MapFilesWithoutADirectoryAreTakenAsWritten) {
    TempFolder dir{PathForm::Generic};
    dir.write("lib.mtl", "newmtl a\nmap_Kd wood.png\n");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    OBJModel model;
    std::vector<Material> list;
    const bool ok = model.readMTL("lib.mtl", list, 0) == ReadStatus::Ok;
    std::filesystem::current_path(previous);
    ASSERT_TRUE(ok);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]._diffuseMap, "wood.png");
}

// The material lines of an OBJ file.
TEST(ObjMaterials, LibrariesAndSelectionsGiveFacesTheirMaterial) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> libraries;
        std::string lines;  // after four vertices; each "f" line is one face
        std::vector<std::string> materials;
        std::vector<int32_t> faceMaterials;
        std::string errorText;
    };
    const Case cases[] = {
        {"one library", {{"a.mtl", "newmtl red\nnewmtl blue\n"}},
         "mtllib a.mtl\nf 1 2 3\nusemtl blue\nf 1 2 3\nusemtl red\nf 1 2 3\n", {"red", "blue"}, {-1, 1, 0}, ""},
        {"unknown material", {{"a.mtl", "newmtl red\n"}}, "mtllib a.mtl\nusemtl green\nf 1 2 3\n", {"red"}, {-1}, ""},
        {"usemtl without a library", {}, "usemtl red\nf 1 2 3\n", {}, {-1}, ""},
        {"two libraries defining one name", {{"a.mtl", "newmtl red\n"}, {"b.mtl", "newmtl red\nnewmtl x\n"}},
         "mtllib a.mtl\nmtllib b.mtl extra.mtl\nusemtl red\nf 1 2 3\nusemtl x\nf 1 2 3\n", {"red", "red", "x"}, {0, 2}, ""},
        {"library defined after selection", {{"a.mtl", "newmtl red\n"}}, "usemtl red\nf 1 2 3\nmtllib a.mtl\nf 1 2 3\n",
         {"red"}, {-1, -1}, ""},
        {"missing library empties the texts", {}, "l 1 2\nmtllib none.mtl\nf 1 2 3\n", {}, {-1}, ""},
        {"failed library adds nothing", {{"a.mtl", "newmtl ok\nnewmtl b\n"}, {"bad.mtl", "Kd 1 1 1\nnewmtl red\n"}},
         "mtllib a.mtl\nl 1\nmtllib bad.mtl\nusemtl red\nf 1 2 3\n", {"ok", "b"}, {-1}, ""},
        {"usemtl without a name", {{"a.mtl", "newmtl red\n"}}, "mtllib a.mtl\nusemtl red\nusemtl\nf 1 2 3\n", {"red"}, {-1}, ""},
        {"mtllib without a name", {}, "mtllib\nmtllib   \nf 1 2 3\n", {}, {-1}, ""},
        {"case of the keywords", {{"a.mtl", "newmtl Red\n"}}, "MTLLIB a.mtl\nUSEMTL Red\nf 1 2 3\nusemtl red\nf 1 2 3\n", {"Red"},
         {0, -1}, ""},
        {"unknown statements are kept", {{"a.mtl", "newmtl red\nTr 1\n"}}, "mtllib a.mtl\nusemtl red\nf 1 2 3\n", {"red"}, {0},
         " line \"Tr 1\" in DIRa.mtl in not valid.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir{PathForm::Generic};
        for (const auto& [name, text] : c.libraries) dir.write(name, text);
        const auto read = readText(dir, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n" + c.lines);
        ASSERT_TRUE(read.ok) << read.model->_errorText;
        std::string expected = c.errorText;
        for (size_t at; (at = expected.find("DIR")) != std::string::npos;) expected.replace(at, 3, dir.pathOf(""));
        EXPECT_EQ(read.model->_errorText, expected);
        std::vector<std::string> names;
        for (const Material& m : read.model->_materials) names.push_back(m._name);
        EXPECT_EQ(names, c.materials);
        ASSERT_EQ(read.model->_materialFaces.size(), c.materials.size());
        ASSERT_EQ(read.model->_faces._count, c.faceMaterials.size());
        for (uint32_t i = 0; i < c.faceMaterials.size(); ++i) {
            const int32_t material = faceValueAt(*read.model, i)._materialIndex;
            EXPECT_EQ(material, c.faceMaterials[i]) << "face " << i;
            if (material >= 0) {
                const auto& list = read.model->_materialFaces[size_t(material)];
                EXPECT_NE(std::find(list.begin(), list.end(), int32_t(i)), list.end()) << "face " << i;
            }
        }
    }
}

}  // namespace
}  // namespace tollgram::obj
