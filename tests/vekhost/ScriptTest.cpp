// Script lines read in process: what each form becomes, every fault a row
// with its one line, and the grammar as help and the README show it.
#include "Script.h"
#include "DrawingFile.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using vekhost::ParseEvent;
using vekhost::ScriptEvent;

const vekhost::Drawing& Box() {
  static vekhost::Drawing drawing = [] {
    vekhost::Drawing d = vekhost::ParseDrawing(
        R"({"dimensions": [{"name": "width", "measure": 100, "from": [0, 0], "to": [10, 4]}],
            "notes": [{"name": "label", "at": [5, 6]}], "elements": [{"name": "edge"}]})",
        "box.json");
    d.dimensions[0].id = 11, d.notes[0].id = 12, d.elements[0].id = 13;
    return d;
  }();
  return drawing;
}

ScriptEvent Read(const std::string& line) {
  std::optional<ScriptEvent> event = ParseEvent(line, Box(), "s:1");
  EXPECT_TRUE(event.has_value()) << line;
  return event.value_or(ScriptEvent{});
}

TEST(ScriptTest, ReadsEveryForm) {
  ScriptEvent pick = Read("pick width");
  EXPECT_EQ(pick.kind, ScriptEvent::Pick);
  EXPECT_EQ(pick.name, "width");
  EXPECT_FALSE(pick.hasPoint);
  ScriptEvent at = Read("  pick label 1.5 -2\r");
  EXPECT_EQ(at.line, "pick label 1.5 -2") << "as written, without the blanks around it";
  EXPECT_TRUE(at.hasPoint);
  EXPECT_EQ(at.at.x, 1.5);
  EXPECT_EQ(at.at.y, -2);
  ScriptEvent point = Read("point 3 4 on edge");
  EXPECT_EQ(point.kind, ScriptEvent::Point);
  EXPECT_EQ(point.name, "edge");
  EXPECT_EQ(Read("motion 1 2").kind, ScriptEvent::Motion);
  ScriptEvent written = Read("motion +2.5e1 .5");
  EXPECT_EQ(written.at.x, 25) << "a sign and an exponent";
  EXPECT_EQ(written.at.y, 0.5);
  EXPECT_EQ(Read("further 1 2").kind, ScriptEvent::Further);
  ScriptEvent keyin = Read("keyin  50 미리 ");
  EXPECT_EQ(keyin.kind, ScriptEvent::Keyin);
  EXPECT_EQ(keyin.text, " 50 미리 ") << "the rest of the line, blanks included";
  EXPECT_EQ(Read("keyin").text, "");
  EXPECT_EQ(Read("end").kind, ScriptEvent::End);
  EXPECT_EQ(Read("start").kind, ScriptEvent::Start);
  EXPECT_EQ(Read("names").kind, ScriptEvent::Names);
  EXPECT_EQ(Read("show").kind, ScriptEvent::Show);
  EXPECT_FALSE(ParseEvent("# pick width", Box(), "s:1"));
  EXPECT_FALSE(ParseEvent("   ", Box(), "s:1"));
  EXPECT_FALSE(ParseEvent("", Box(), "s:1"));
}

TEST(ScriptTest, ReadsDialogActionsByShortAndRegistryNames) {
  ScriptEvent select = Read("dialog select frame-cmd 2");
  EXPECT_EQ(select.kind, ScriptEvent::Dialog);
  EXPECT_EQ(select.action, "select");
  EXPECT_EQ(select.control, IDC_FRAME_CMD);
  EXPECT_EQ(select.position, 2);
  EXPECT_EQ(Read("dialog select FrameDim 0").control, IDC_FRAME_DIM);
  EXPECT_EQ(Read("dialog click font-windows").control, IDC_FONT_WINDOWS);
  EXPECT_EQ(Read("dialog click Font-0").control, IDC_FONT_EXTERNAL);
  EXPECT_EQ(Read("dialog click Font-1").control, IDC_FONT_WINDOWS);
  EXPECT_EQ(Read("dialog click ok").control, 1);
  EXPECT_EQ(Read("dialog click cancel").control, 2);
  ScriptEvent type = Read("dialog type prefix  BOX x ");
  EXPECT_EQ(type.control, IDC_PRE_COMMENT);
  EXPECT_EQ(type.text, " BOX x ") << "the rest of the line after one blank";
  EXPECT_EQ(Read("dialog type MTitle").text, "");
  EXPECT_EQ(Read("dialog type width 3").control, IDC_WIDTH);
  EXPECT_EQ(Read("dialog type width 3").text, "3");
  EXPECT_EQ(vekhost::DialogControlName(IDC_ROUND), "round");
  EXPECT_EQ(vekhost::DialogControlName(IDC_FONT_WINDOWS), "font-windows");
  EXPECT_EQ(vekhost::DialogControlName(99999), "99999");
}

struct FaultRow {
  std::string line, error;
};

void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.line; }

class ScriptFaultTest : public testing::TestWithParam<FaultRow> {};

TEST_P(ScriptFaultTest, GivesOneLineWithThePlace) {
  try {
    ParseEvent(GetParam().line, Box(), "s:4");
    ADD_FAILURE() << "read without a fault";
  } catch (const vekhost::InputError& error) {
    EXPECT_EQ(std::string(error.what()), "s:4: " + GetParam().error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScriptFaultTest,
    testing::Values(
        FaultRow{"click 1 2", "unknown event \"click\" (pick, point, motion, further, keyin, end, "
                              "start, dialog, names, show)"},
        FaultRow{"pick", "pick: expected an element's name"},
        FaultRow{"pick depth", "the drawing has no element \"depth\""},
        FaultRow{"pick width 1", "expected y"},
        FaultRow{"pick width 1 y", "expected a number for y, not \"y\""},
        FaultRow{"point 1", "expected y"},
        FaultRow{"point x 1", "expected a number for x, not \"x\""},
        FaultRow{"point 0x10 12", "expected a number for x, not \"0x10\""},
        FaultRow{"point 1,5 2", "expected a number for x, not \"1,5\""},
        FaultRow{"pick width # the bottom edge", "a comment (#) takes a line of its own"},
        FaultRow{"point 1 2 at edge", "point: expected \"on NAME\""},
        FaultRow{"point 1 2 on", "point: expected \"on NAME\""},
        FaultRow{"point 1 2 on depth", "the drawing has no element \"depth\""},
        FaultRow{"motion inf 2", "expected a number for x, not \"inf\""},
        FaultRow{"motion nan 2", "expected a number for x, not \"nan\""},
        FaultRow{"motion 1 1e999", "the number for y is out of range: 1e999"},
        FaultRow{"end now", "unexpected \"now\""}, FaultRow{"motion 1 2 3", "unexpected \"3\""},
        FaultRow{"dialog", "dialog: expected select, click or type"},
        FaultRow{"dialog press ok", "dialog: expected select, click or type"},
        FaultRow{"dialog select rounding 2",
                 "dialog select: expected one of round, frame-dim, frame-char, frame-cmd"},
        FaultRow{"dialog click prefix",
                 "dialog click: expected one of font-external, font-windows, ok, cancel"},
        FaultRow{"dialog select round 5", "dialog select round: expected a position from 0 to 4"},
        FaultRow{"dialog select frame-dim 3",
                 "dialog select frame-dim: expected a position from 0 to 2"},
        FaultRow{"dialog select round -1", "dialog select round: expected a position from 0 to 4"},
        FaultRow{"dialog select round 1.5", "dialog select round: expected a position from 0 to 4"},
        FaultRow{"dialog select round", "expected a position"}));

TEST(ScriptTest, ATypedLineNeedsNoPlace) {
  try {
    ParseEvent("pick depth", Box(), "");
    ADD_FAILURE();
  } catch (const vekhost::InputError& error) {
    EXPECT_EQ(std::string(error.what()), "the drawing has no element \"depth\"");
  }
}

TEST(ScriptTest, BecomesTheHostsEvent) {
  ScriptEvent pick = Read("pick width");
  SimEvent sim = vekhost::ToSimEvent(pick, Box());
  EXPECT_EQ(sim.kind, EVT_PICK);
  EXPECT_EQ(sim.element, 11);
  EXPECT_EQ(sim.hasPoint, 1);
  EXPECT_EQ(sim.x, 5) << "a dimension is picked at its middle";
  EXPECT_EQ(sim.y, 2);
  SimEvent note = vekhost::ToSimEvent(Read("pick label"), Box());
  EXPECT_EQ(note.element, 12);
  EXPECT_EQ(note.x, 5) << "a note at its place";
  EXPECT_EQ(note.y, 6);
  SimEvent at = vekhost::ToSimEvent(Read("pick edge 7 8"), Box());
  EXPECT_EQ(at.element, 13);
  EXPECT_EQ(at.x, 7);
  EXPECT_EQ(at.y, 8);
  SimEvent point = vekhost::ToSimEvent(Read("point 3 4 on edge"), Box());
  EXPECT_EQ(point.kind, EVT_POINT);
  EXPECT_EQ(point.element, 13);
  EXPECT_EQ(point.motion, 0);
  EXPECT_EQ(vekhost::ToSimEvent(Read("point 3 4"), Box()).element, 0);
  SimEvent motion = vekhost::ToSimEvent(Read("motion 3 4"), Box());
  EXPECT_EQ(motion.kind, EVT_POINT);
  EXPECT_EQ(motion.motion, 1);
  EXPECT_EQ(motion.x, 3);
  EXPECT_EQ(motion.y, 4);
  EXPECT_EQ(vekhost::ToSimEvent(Read("further 3 4"), Box()).kind, EVT_FURTHER);
  ScriptEvent keyin = Read("keyin 20");
  SimEvent typed = vekhost::ToSimEvent(keyin, Box());
  EXPECT_EQ(typed.kind, EVT_KEYIN);
  EXPECT_EQ(typed.hasPoint, 0);
  EXPECT_STREQ(typed.keyin, "20");
  SimEvent end = vekhost::ToSimEvent(Read("end"), Box());
  EXPECT_EQ(end.kind, EVT_END);
  EXPECT_EQ(end.hasPoint, 0);
}

// The README shows the grammar exactly as vekhost --help prints it.
TEST(ScriptTest, TheReadmeShowsTheGrammar) {
  std::ifstream in(TRISPAN_README);
  std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(readme.empty());
  EXPECT_NE(readme.find(vekhost::ScriptGrammar()), std::string::npos) << "the README should show:\n"
                                                                      << vekhost::ScriptGrammar();
}

TEST(ScriptTest, TheGrammarNamesEveryVerbAndControl) {
  std::string grammar = vekhost::ScriptGrammar();
  for (const char* word : {"pick NAME", "point X Y", "motion", "further", "keyin", "end", "start",
                           "dialog select", "dialog click", "dialog type", "names", "show",
                           "frame-cmd", "font-windows", "prefix", "# ..."})
    EXPECT_NE(grammar.find(word), std::string::npos) << word;
  for (size_t start = 0, end; (end = grammar.find('\n', start)) != std::string::npos;
       start = end + 1)
    EXPECT_LE(end - start, 93u) << grammar.substr(start, end - start);
}

} // namespace
