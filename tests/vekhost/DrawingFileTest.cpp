// Drawing files read in process: every fault a row with the one line it
// gives, and what a good file becomes.
#include "DrawingFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using vekhost::Drawing;
using vekhost::InputError;
using vekhost::ParseDrawing;

struct FaultRow {
  const char* what;
  std::string text;
  std::string error; // the whole line
};

void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.what; }

class DrawingFaultTest : public testing::TestWithParam<FaultRow> {};

TEST_P(DrawingFaultTest, GivesOneLineNamingTheFileAndThePlace) {
  try {
    ParseDrawing(GetParam().text, "d.json");
    ADD_FAILURE() << "read without a fault";
  } catch (const InputError& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().error);
  }
}

const std::string kDim = R"({"dimensions": [{"name": "w", "measure": 1, )";

INSTANTIATE_TEST_SUITE_P(
    Faults, DrawingFaultTest,
    testing::Values(
        FaultRow{"syntax", "{\n  \"dimensions\": [,]\n}",
                 "d.json:2:18: parse error at line 2, column 18: syntax error while parsing value "
                 "- unexpected ','; expected '[', '{', or a literal"},
        FaultRow{"a number beyond a double", R"({"dimensions": [{"name": "w", "measure": 1e400}]})",
                 "d.json:1:42: the number 1e400 is out of range"},
        FaultRow{"a list", "[]", "d.json: expected a drawing, a JSON object ({ ... }), not a list"},
        FaultRow{"a single value", " 3",
                 "d.json: expected a drawing, a JSON object ({ ... }), not a single value"},
        FaultRow{"a script", "# the box\npick width",
                 "d.json: is not a drawing (a JSON object, { ... }): a script? The drawing comes "
                 "first: vekhost DRAWING.json SCRIPT"},
        FaultRow{"some other text", "<svg/>", "d.json: is not a drawing (a JSON object, { ... })"},
        FaultRow{"an unknown field", kDim + R"("decimal": 2}]})",
                 "d.json: /dimensions/0/decimal: unknown field"},
        FaultRow{"an unknown top field", R"({"dimension": []})",
                 "d.json: /dimension: unknown field"},
        FaultRow{"a measure as text", R"({"dimensions": [{"name": "w", "measure": "1"}]})",
                 "d.json: /dimensions/0/measure: expected a number"},
        FaultRow{"no measure", R"({"dimensions": [{"name": "w"}]})",
                 "d.json: /dimensions/0/measure: missing"},
        FaultRow{"no name", R"({"notes": [{"text": "a"}]})", "d.json: /notes/0/name: missing"},
        FaultRow{"a name with a blank", R"({"notes": [{"name": "a b"}]})",
                 "d.json: /notes/0/name: expected a name without blanks"},
        FaultRow{"an empty name", R"({"elements": [{"name": ""}]})",
                 "d.json: /elements/0/name: expected a name without blanks"},
        FaultRow{"a name used twice", R"({"notes": [{"name": "a"}], "elements": [{"name": "a"}]})",
                 "d.json: /elements/0/name: \"a\" is used twice"},
        FaultRow{"a type that is no dimension's", kDim + R"("type": 16}]})",
                 "d.json: /dimensions/0/type: expected a dimension type: 12 to 15, 17, 22 to 26"},
        FaultRow{"a negative type", kDim + R"("type": -1}]})",
                 "d.json: /dimensions/0/type: expected a dimension type: 12 to 15, 17, 22 to 26"},
        FaultRow{"a fraction for a whole number", kDim + R"("decimals": 1.5}]})",
                 "d.json: /dimensions/0/decimals: expected a whole number"},
        FaultRow{"a whole number beyond 32 bits", kDim + R"("mark": 2147483648}]})",
                 "d.json: /dimensions/0/mark: expected a whole number"},
        FaultRow{"a prefix that is no text", kDim + R"("prefix": 1}]})",
                 "d.json: /dimensions/0/prefix: expected a text"},
        FaultRow{"a point of one number", kDim + R"("from": [1]}]})",
                 "d.json: /dimensions/0/from: expected a point [x, y]"},
        FaultRow{"a point of texts", kDim + R"("to": ["1", "2"]}]})",
                 "d.json: /dimensions/0/to: expected a point [x, y]"},
        FaultRow{"an unknown frame", kDim + R"("frame": "side"}]})",
                 "d.json: /dimensions/0/frame: expected \"figure\" or \"title\""},
        FaultRow{"a list that is none", R"({"notes": {}})", "d.json: /notes: expected a list"},
        FaultRow{"a frame without size", R"({"frames": {"figure": {"size": [0, 10]}}})",
                 "d.json: /frames/figure/size: expected a positive size"},
        FaultRow{"a frame field unknown", R"({"frames": {"title": {"corner": [0, 0]}}})",
                 "d.json: /frames/title/corner: unknown field"},
        FaultRow{"an unknown current frame", R"({"frames": {"current": "x"}})",
                 "d.json: /frames/current: expected \"figure\" or \"title\""}));

TEST(DrawingFileTest, ReadsEveryField) {
  Drawing d = ParseDrawing(R"({"frames": {"figure": {"origin": [1, 2], "size": [30, 40]},
    "title": {"origin": [5, 6], "size": [7, 8]}, "current": "title"},
    "dimensions": [{"name": "w", "type": 13, "measure": 2.5, "decimals": 1, "prefix": "P",
      "suffix": "S", "noteResult": 3, "mark": 2, "from": [1, 1], "to": [4, 5], "offset": -2,
      "frame": "title"}],
    "notes": [{"name": "n", "kind": 32, "at": [3, 4], "text": "TBD", "height": 5, "width": 4,
      "pitch": 1, "frame": "title"}],
    "elements": [{"name": "e", "type": 7, "from": [0, 1], "to": [2, 3], "frame": "title"}]})",
                           "d.json");
  EXPECT_EQ(d.figure.origin.y, 2);
  EXPECT_EQ(d.figure.size.x, 30);
  EXPECT_EQ(d.title.size.y, 8);
  EXPECT_EQ(d.currentFrame, FRAME_TITLE);
  const vekhost::Dimension& w = d.dimensions.at(0);
  EXPECT_EQ(w.type, 13);
  EXPECT_EQ(w.measure, 2.5);
  EXPECT_EQ(w.decimals, 1);
  EXPECT_EQ(w.prefix + w.suffix, "PS");
  EXPECT_EQ(w.noteResult, 3);
  EXPECT_EQ(w.mark, 2);
  EXPECT_EQ(w.to.y, 5);
  EXPECT_EQ(w.offset, -2);
  EXPECT_EQ(w.frame, FRAME_TITLE);
  const vekhost::Note& n = d.notes.at(0);
  EXPECT_EQ(n.kind, 32);
  EXPECT_EQ(n.at.x, 3);
  EXPECT_EQ(n.text, "TBD");
  EXPECT_EQ(n.height + n.width + n.pitch, 10);
  EXPECT_EQ(n.frame, FRAME_TITLE);
  const vekhost::Element& e = d.elements.at(0);
  EXPECT_EQ(e.type, 7);
  EXPECT_EQ(e.from.y, 1);
  EXPECT_EQ(e.frame, FRAME_TITLE);
}

// Dimensions without points stand in rows from the top left of their frame;
// a title frame not given stands in the figure frame's lower right corner.
TEST(DrawingFileTest, LaysOutWhatTheFileLeavesOut) {
  Drawing d = ParseDrawing(R"({"frames": {"figure": {"origin": [10, 0], "size": [300, 200]}},
    "dimensions": [{"name": "a", "measure": 100}, {"name": "b", "measure": 2},
                   {"name": "c", "measure": 50, "from": [1, 1]}]})",
                           "d.json");
  EXPECT_EQ(d.title.origin.x, 10 + 300 - 90);
  EXPECT_EQ(d.title.origin.y, 0);
  EXPECT_EQ(d.title.size.x, 90);
  EXPECT_EQ(d.title.size.y, 40);
  const auto& a = d.dimensions[0];
  const auto& b = d.dimensions[1];
  EXPECT_EQ(a.from.x, 10);
  EXPECT_EQ(a.from.y, 200 - 10 - 7);
  EXPECT_EQ(a.to.x, 110) << "as long as its measure";
  EXPECT_EQ(b.from.y, a.from.y - 14) << "the next row";
  EXPECT_EQ(b.to.x - b.from.x, 10) << "at least the margin";
  EXPECT_EQ(d.dimensions[2].from.x, 1) << "given points stay";
  EXPECT_EQ(d.dimensions[2].to.x, 10) << "the default end";
}

TEST(DrawingFileTest, AnyPositiveFrameSizeIsTaken) {
  Drawing d = ParseDrawing(R"({"frames": {"figure": {"size": [0.5, 0.25]},
                               "title": {"size": [0.5, 0.25]}}})",
                           "d.json");
  EXPECT_EQ(d.figure.size.y, 0.25);
  EXPECT_EQ(d.title.size.x, 0.5);
}

TEST(DrawingFileTest, ASmallFigureFrameHoldsTheTitleFrame) {
  Drawing d = ParseDrawing(R"({"frames": {"figure": {"size": [50, 20]}}})", "d.json");
  EXPECT_EQ(d.title.size.x, 50);
  EXPECT_EQ(d.title.size.y, 20);
  EXPECT_EQ(d.title.origin.x, 0);
}

// Drawings saved by Windows tools: with a byte-order mark, or as UTF-16.
TEST(DrawingFileTest, FilesFromWindowsToolsAreRead) {
  const std::string text = R"({"notes": [{"name": "가", "at": [1, 2]}]})";
  std::u16string wide = u"\uFEFF{\"notes\": [{\"name\": \"가\", \"at\": [1, 2]}]}";
  const std::string files[] = {
      "\xEF\xBB\xBF" + text,
      std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)};
  for (const std::string& bytes : files) {
    std::string path = testing::TempDir() + "/windows.json";
    std::ofstream(path, std::ios::binary) << bytes;
    Drawing d = vekhost::LoadDrawing(path);
    ASSERT_EQ(d.notes.size(), 1u);
    EXPECT_EQ(d.notes[0].name, "가");
  }
}

TEST(DrawingFileTest, FoldersAndMissingFilesAreNamed) {
  std::string folder = testing::TempDir();
  EXPECT_THROW(vekhost::LoadDrawing(folder), InputError);
  try {
    vekhost::LoadDrawing(folder + "/no-such-drawing.json");
    ADD_FAILURE();
  } catch (const InputError& error) {
    EXPECT_EQ(std::string(error.what()), folder + "/no-such-drawing.json: cannot be read");
  }
}

} // namespace
