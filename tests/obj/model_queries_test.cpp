#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "built_models.h"
#include "obj/model_queries.h"

namespace tollgram::obj {
namespace {

using test::addFace;
using test::addVertices;
using test::faceOf;

TEST(GroupVertexRange, IsTheWidthOfTheIntervalTheGroupsFacesUse) {
    OBJModel model;
    addVertices(model, 40);
    addFace(model, faceOf({10, 11, 12, 13, 14}), {"wide"});
    addFace(model, faceOf({15, 16, 17, 18, 19}), {"wide"});
    addFace(model, faceOf({30, 19, 18}), {"wide"});
    addFace(model, faceOf({7, 7, 7}), {"one vertex"});
    addFace(model, FaceValue{}, {"no corners"});
    addFace(model, faceOf({5, 6, 4}), {"small"});
    ASSERT_TRUE(tollgram::test::listInGroup(model, "beyond faces", 99));  // reads as an empty face
    addFace(model, faceOf({38, 60, 39}), {"beyond vertices"});

    struct Case {
        const char* name;
        uint32_t group;
        uint32_t first;
        uint32_t count;
    };
    const Case cases[] = {
        {"10..19 and 30 counts the gap", 0, 10, 21},
        {"every corner the same vertex", 1, 7, 0},
        {"faces without corners", 2, 40, 0},
        {"one face", 3, 4, 3},
        {"only faces beyond the store", 4, 40, 0},
        // 60 is beyond the vertices: it widens the top but can't lower first.
        {"corner beyond the vertex count", 5, 38, 23},
        {"group index beyond the groups", 6, 40, 0},
        {"highest group index", 0xFFFFFFFFu, 40, 0},
    };
    for (const Case& c : cases) {
        const VertexRange range = groupVertexRange(model, c.group);
        EXPECT_EQ(range.first, c.first) << c.name;
        EXPECT_EQ(range.count, c.count) << c.name;
    }
}

TEST(GroupVertexRange, IsEmptyWithoutVertices) {
    OBJModel model;
    addFace(model, faceOf({0, 1, 2}), {"g"});
    const VertexRange range = groupVertexRange(model, 0);
    EXPECT_EQ(range.first, 0u);
    EXPECT_EQ(range.count, 0u);
}

TEST(SmoothingGroups, RangeAndFaceCountCoverEveryFaceOfTheNumber) {
    OBJModel model;
    addVertices(model, 20);
    addFace(model, faceOf({5, 6, 7}, -1, 3));
    addFace(model, faceOf({0, 1, 2}, -1, 0));
    addFace(model, faceOf({9, 8, 7}, -1, 3));
    addFace(model, faceOf({4, 4, 4}, -1, 12));
    addFace(model, faceOf({19, 18, 17}, -1, 0xFFFFFFFFu));

    struct Case {
        const char* name;
        uint32_t number;
        uint32_t first;
        uint32_t count;
        uint32_t faces;
    };
    const Case cases[] = {
        {"two faces apart in the store", 3, 5, 5, 2},
        {"faces without a smoothing group", 0, 0, 3, 1},
        {"one vertex only", 12, 4, 0, 1},
        {"all bits set", 0xFFFFFFFFu, 17, 3, 1},
        {"a number no face carries", 4, 20, 0, 0},
    };
    for (const Case& c : cases) {
        const VertexRange range = smoothingGroupVertexRange(model, c.number);
        EXPECT_EQ(range.first, c.first) << c.name;
        EXPECT_EQ(range.count, c.count) << c.name;
        EXPECT_EQ(smoothingGroupFaceCount(model, c.number), c.faces) << c.name;
    }
}

TEST(SmoothingGroups, CountNeverExceedsTheTable) {
    OBJModel model;
    model._smoothingGroupCount = 3;
    EXPECT_EQ(smoothingGroupCountOf(model), 3u);
    model._smoothingGroupCount = kMaxSmoothingGroups + 1;
    EXPECT_EQ(smoothingGroupCountOf(model), kMaxSmoothingGroups);
}

// Groups created in the order b, a, c: the order of creation decides which
// group a shared face belongs to, not the order of the names.
class GroupMembership : public ::testing::Test {
protected:
    void SetUp() override {
        addVertices(model, 4);
        addFace(model, faceOf({0, 1, 2}), {"b"});            // 0
        addFace(model, faceOf({0, 1, 2}), {"a", "b"});       // 1: in two groups
        addFace(model, faceOf({0, 1, 2}));                   // 2: in none
        addFace(model, faceOf({0, 1, 2}), {"a", "a"});       // 3: listed twice
        addFace(model, faceOf({0, 1, 2}), {"c"});            // 4
        addFace(model, faceOf({0, 1, 2}), {"default"});      // 5: a real group of that name
        for (int32_t f = 6; f < 600; ++f) addFace(model, faceOf({0, 1, 3}), {f % 3 == 0 ? "c" : "a"});
    }
    OBJModel model;
};

TEST_F(GroupMembership, ContainsFaceAnswersLikeALinearSearch) {
    const std::vector<std::string> names = {"a", "b", "c", "default", "missing", ""};
    for (const std::string& name : names) {
        const FaceIndexList* list = findGroupFaceList(model, name);
        for (int32_t face = -1; face <= 601; ++face) {
            bool linear = false;
            if (list) {
                for (int32_t entry : *list) linear = linear || entry == face;
            }
            ASSERT_EQ(groupContainsFace(model, face, name), linear) << "group " << name << ", face " << face;
        }
    }
}

// A cursor placed anywhere and asked in increasing order, with repeats and
// gaps, answers as the search does; "a" holds face 3 twice.
TEST_F(GroupMembership, ACursorAnswersLikeTheSearchWhenAskedInOrder) {
    for (const std::string name : {"a", "b", "c", "missing"}) {
        const FaceIndexList* list = findGroupFaceList(model, name);
        for (int32_t from : {-1, 0, 3, 4, 301, 600}) {
            FaceListCursor cursor(list, from);
            for (int32_t face = from; face <= 601; ++face) {
                if (face % 5 == 0) continue;  // a gap: the cursor must step over it
                const int asks = face % 7 == 0 ? 2 : 1;
                for (int ask = 0; ask < asks; ++ask) {
                    ASSERT_EQ(cursor.holds(face), listHoldsFace(list, face))
                        << name << " from " << from << ", face " << face << ", ask " << ask;
                }
            }
        }
    }
}

TEST_F(GroupMembership, NameOfFaceIsTheEarliestCreatedGroup) {
    struct Case {
        int32_t face;
        const char* name;
    };
    const Case cases[] = {
        {0, "b"}, {1, "b"}, {2, "default"}, {3, "a"}, {4, "c"}, {5, "default"},
        {6, "c"}, {7, "a"}, {599, "a"}, {600, "default"}, {-1, "default"},
    };
    for (const Case& c : cases) EXPECT_EQ(groupNameOfFace(model, c.face), c.name) << "face " << c.face;
}

TEST_F(GroupMembership, TheIndexGivesTheSameNamesAsTheSearch) {
    FirstGroupIndex index;
    ASSERT_TRUE(index.build(model));
    for (int32_t face = -1; face <= 601; ++face) {
        const std::string& indexed = index.nameOfFace(model, face);
        EXPECT_EQ(indexed, groupNameOfFace(model, face)) << "face " << face;
    }
    // Names refer to the model's own texts, so they compare by address too.
    EXPECT_EQ(&index.nameOfFace(model, 0), &model._groupNames[0]);
}

TEST_F(GroupMembership, AFaceNamedOnlyBeyondTheStoreStillFindsItsGroup) {
    ASSERT_TRUE(tollgram::test::listInGroup(model, "late", 5000));
    FirstGroupIndex index;
    ASSERT_TRUE(index.build(model));
    EXPECT_EQ(index.nameOfFace(model, 5000), "late");
    EXPECT_EQ(groupNameOfFace(model, 5000), "late");
}

}  // namespace
}  // namespace tollgram::obj
