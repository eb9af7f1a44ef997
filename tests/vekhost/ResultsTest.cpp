// What a session leaves, in process: the notes found afterwards, their
// readable texts, the result file's JSON and the picture's elements.
#include "VekhostSession.h"

#include "DrawingFile.h"
#include "Picture.h"
#include "Results.h"
#include "Session.h"

#include <nlohmann/json.hpp>

namespace vekhost {

bool operator==(const ResultNote& a, const ResultNote& b) {
  return a.id == b.id && a.kind == b.kind && a.at.x == b.at.x && a.at.y == b.at.y &&
         a.text == b.text && a.height == b.height && a.width == b.width && a.pitch == b.pitch &&
         a.frame == b.frame && a.name == b.name && a.isNew == b.isNew && a.changed == b.changed;
}

} // namespace vekhost

namespace {

using vekhost::ReadableText;

struct ReadableRow {
  std::string stored, readable;
};

void PrintTo(const ReadableRow& row, std::ostream* out) { *out << row.readable; }

class ReadableTextTest : public testing::TestWithParam<ReadableRow> {};

TEST_P(ReadableTextTest, ShowsTheSignsAsØAndEscapesControls) {
  EXPECT_EQ(ReadableText(GetParam().stored), GetParam().readable);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadableTextTest,
                         testing::Values(ReadableRow{"100X50X20", "100X50X20"},
                                         ReadableRow{"\uE000"
                                                     "30X120",
                                                     "Ø30X120"},
                                         ReadableRow{"SUS-\uE11D"
                                                     "30",
                                                     "SUS-Ø30"},
                                         ReadableRow{"\x1C!30", "Ø30"},
                                         ReadableRow{"\uE000\x1C!30", "ØØ30"},
                                         ReadableRow{"a\x1C"
                                                     "b\x01"
                                                     "c\td\x1b[2J",
                                                     "a\\x1cb\\x01c\\x09d\\x1b[2J"},
                                         ReadableRow{"!30 \uE001", "!30 \uE001"},
                                         ReadableRow{"박스\uE000\uE11D", "박스ØØ"},
                                         ReadableRow{"", ""}));

class ResultsTest : public VekhostSessionTest {
protected:
  // The picture of a drawing that is not placed: an empty host.
  static std::string Svg(const vekhost::Drawing& drawing) {
    SimReset();
    return vekhost::DrawingSvg(drawing, vekhost::NoteBook(drawing));
  }
  // The box's note in the title frame, and the general note replaced.
  void WriteNotes() {
    Play("pick width\npick length\npick height\npoint 30 12\nstart\npick bore\npick height\n"
         "pick size");
  }
};

TEST_F(ResultsTest, FindsTheNewAndTheChangedNotes) {
  WriteNotes();
  Play("pick width\npick length\npick height\nmotion 1 1");
  vekhost::NoteBook book(drawing_);
  std::vector<vekhost::ResultNote> notes;
  for (const auto& [id, note] : book.Written()) notes.push_back(note);
  ASSERT_EQ(notes.size(), 2u) << "the preview and the unchanged note left out";
  EXPECT_EQ(notes[0].name, "size");
  EXPECT_EQ(notes[0].id, drawing_.notes[0].id);
  EXPECT_TRUE(notes[0].changed);
  EXPECT_FALSE(notes[0].isNew);
  EXPECT_EQ(notes[0].text, "\uE000"
                           "30X20");
  EXPECT_TRUE(notes[1].isNew);
  EXPECT_EQ(notes[1].name, "");
  EXPECT_EQ(vekhost::NoteLine(notes[1]), "100X50X20  (new, at 31, 12 in the title frame)");
  EXPECT_EQ(vekhost::NoteLine(notes[0]), "Ø30X20  (changed: size, at 5, 8 in the title frame)");
  std::optional<vekhost::ResultNote> preview = vekhost::PreviewNote();
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->text, "100X50X20");
  EXPECT_EQ(preview->at.x, 2) << "beside the cursor";
}

TEST_F(ResultsTest, ASizeAloneIsAChange) {
  for (VekCharSize size : {VekCharSize{9, 3, 0}, VekCharSize{3.5, 9, 0}, VekCharSize{3.5, 3, 9}}) {
    VekCharSize same{3.5, 3, 0};
    VekCmtSetCharSize(drawing_.notes[0].id, &same);
    VekCmtSetCharSize(drawing_.notes[1].id, &size);
    vekhost::NoteBook book(drawing_);
    EXPECT_EQ(book.Written().count(drawing_.notes[0].id), 0u) << "the other note";
    EXPECT_EQ(book.Written().count(drawing_.notes[1].id), 1u)
        << size.height << " " << size.width << " " << size.pitch;
  }
}

TEST_F(ResultsTest, TheResultFileHoldsTheNewAndChangedNotes) {
  WriteNotes();
  std::string text = vekhost::ResultJson(vekhost::NoteBook(drawing_));
  EXPECT_NE(text.find("\"text\": \"\\ue00030X20\""), std::string::npos) << text;
  EXPECT_EQ(text.back(), '\n');
  nlohmann::json json = nlohmann::json::parse(text);
  EXPECT_EQ(json["frame"], "figure");
  ASSERT_EQ(json["notes"].size(), 2u) << "the unchanged note left out";
  const nlohmann::json& changed = json["notes"][0];
  EXPECT_EQ(changed["status"], "changed");
  EXPECT_EQ(changed["name"], "size");
  EXPECT_EQ(changed["readable"], "Ø30X20");
  EXPECT_EQ(changed["frame"], "title");
  EXPECT_EQ(changed["at"], nlohmann::json::array({5.0, 8.0}));
  const nlohmann::json& added = json["notes"][1];
  EXPECT_EQ(added["status"], "new");
  EXPECT_FALSE(added.contains("name"));
  EXPECT_EQ(added["kind"], VEK_NOTE_KIND_NEW);
  EXPECT_EQ(added["text"], "100X50X20");
  EXPECT_EQ(added["height"], 4.0);
  EXPECT_EQ(added["width"], 4.0);
  EXPECT_EQ(added["pitch"], 0.0);
}

TEST_F(ResultsTest, ThePictureShowsEveryElementByName) {
  WriteNotes();
  std::string svg = vekhost::DrawingSvg(drawing_, vekhost::NoteBook(drawing_));
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-10 0 317 230\" "
                      "font-family=\"sans-serif\" data-top=\"220\">",
                      0),
            0u)
      << svg.substr(0, 200);
  for (const char* name : {"width", "length", "height", "bore", "edge", "size", "label"})
    EXPECT_NE(svg.find("<g data-name=\"" + std::string(name) + "\">"), std::string::npos) << name;
  EXPECT_NE(svg.find("<text x=\"5\" y=\"200\" font-size=\"3.5\" fill=\"black\"></text>"),
            std::string::npos)
      << "an unchanged note in black";
  EXPECT_NE(svg.find(">Ø30</text>"), std::string::npos) << "a diameter's sign";
  EXPECT_NE(svg.find(">100</text>"), std::string::npos);
  EXPECT_NE(svg.find("<text x=\"238\" y=\"208\" font-size=\"4\" fill=\"#d01c1c\">100X50X20</text>"),
            std::string::npos)
      << "the new note, red, in the title frame";
  EXPECT_NE(svg.find("line-through\">SIZE: Ø</tspan> <tspan fill=\"#e07b00\">Ø30X20</tspan>"),
            std::string::npos)
      << "the changed note after its old text";
  size_t hits = 0;
  for (size_t at = 0; (at = svg.find("stroke=\"transparent\"", at)) != std::string::npos; ++at)
    ++hits;
  EXPECT_EQ(hits, 5u) << "a wide stroke over each element and dimension, for a pointer";
  EXPECT_NE(svg.find("figure frame (current)"), std::string::npos);
  EXPECT_NE(svg.find(">title frame</text>"), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

// Before each event, the session's notes, kept from the host's changes,
// equal those that a fresh reading of the whole drawing finds.
class FreshReadingSource : public vekhost::ScriptSource {
public:
  FreshReadingSource(std::vector<vekhost::ScriptEvent> events, const vekhost::Drawing& drawing)
      : ScriptSource(std::move(events)), drawing_(drawing) {}
  std::optional<vekhost::ScriptEvent> Next() override {
    vekhost::NoteBook fresh(drawing_);
    EXPECT_EQ(session->Notes().Written(), fresh.Written()) << "after " << played;
    compared += session->Notes().Written().size();
    std::optional<vekhost::ScriptEvent> event = ScriptSource::Next();
    if (event) played = event->line;
    return event;
  }
  const vekhost::Session* session = nullptr;
  std::string played;
  size_t compared = 0;

private:
  const vekhost::Drawing& drawing_;
};

TEST_F(ResultsTest, NotesKeptFromTheChangesEqualAFreshReading) {
  std::vector<vekhost::ScriptEvent> events;
  for (const char* line : {"pick width",
                           "pick length",
                           "pick height",
                           "motion 30 12",
                           "point 30 12",
                           "start",
                           "pick width",
                           "keyin 7",
                           "pick height",
                           "end",
                           "end",
                           "pick size",
                           "start",
                           "pick bore",
                           "pick height",
                           "motion 1 1",
                           "pick label",
                           "start",
                           "pick width",
                           "pick length",
                           "pick height",
                           "point 40 15",
                           "start",
                           "pick width",
                           "keyin 0",
                           "pick height",
                           "point 40 15",
                           "start",
                           "pick bore",
                           "end",
                           "pick label",
                           "start",
                           "end",
                           "dialog type "
                           "connector *",
                           "dialog click ok",
                           "pick width",
                           "keyin 1",
                           "keyin 2",
                           "point 5 5"})
    events.push_back(*vekhost::ParseEvent(line, drawing_, "test"));
  std::ostringstream out;
  vekhost::Session session(drawing_, out, false);
  session.Start();
  FreshReadingSource source(std::move(events), drawing_);
  source.session = &session;
  session.Run(source);
  EXPECT_GT(source.compared, 20u) << out.str();
}

// The picture's view holds both frames, whichever reaches further.
TEST_F(ResultsTest, TheViewHoldsBothFrames) {
  vekhost::Drawing wide = vekhost::ParseDrawing(
      R"({"frames": {"figure": {"origin": [5, 2], "size": [400, 300]},
                     "title": {"origin": [-20, -30], "size": [90, 40]}}})",
      "d.json");
  EXPECT_NE(Svg(wide).find("viewBox=\"-30 0 445 352\""), std::string::npos)
      << Svg(wide).substr(0, 120);
  vekhost::Drawing high = vekhost::ParseDrawing(
      R"({"frames": {"figure": {"size": [100, 50]}, "title": {"origin": [0, 0], "size": [200, 90]}}})",
      "d.json");
  EXPECT_NE(Svg(high).find("viewBox=\"-10 0 220 110\" font-family=\"sans-serif\" "
                           "data-top=\"100\""),
            std::string::npos)
      << Svg(high).substr(0, 120);
}

// A dimension's text in the picture is the one the plug-in reads.
TEST_F(ResultsTest, ADimensionShowsItsTexts) {
  vekhost::Drawing drawing = vekhost::ParseDrawing(
      R"({"dimensions": [
        {"name": "a", "measure": 2.25, "decimals": 1, "prefix": "<", "suffix": ">", "noteResult": 3},
        {"name": "b", "measure": 30, "mark": 2, "prefix": "\u001c!", "noteResult": 1},
        {"name": "c", "measure": 7, "prefix": "P", "noteResult": 4},
        {"name": "d", "measure": 8, "noteResult": -1},
        {"name": "e", "measure": 9, "prefix": "Q", "noteResult": -1}]})",
      "d.json");
  std::string svg = Svg(drawing);
  EXPECT_NE(svg.find(">&lt;2.3&gt;</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find(">Ø30</text>"), std::string::npos) << "one sign";
  EXPECT_NE(svg.find(">P</text>"), std::string::npos) << "the prefix instead of the value";
  EXPECT_NE(svg.find(">8</text>"), std::string::npos) << "texts unread: the value alone";
  EXPECT_NE(svg.find(">9</text>"), std::string::npos) << "texts unread, a prefix or not";
}

// Dimension texts read from the bottom or the right side of the sheet, as
// drafting has them: a vertical one upwards, whichever way it was drawn.
TEST_F(ResultsTest, DimensionTextsReadFromTheBottomOrTheRight) {
  const std::pair<const char*, const char*> rows[] = {
      {"[0, 0], \"to\": [50, 0]",
       "<text x=\"25\" y=\"217.5\" font-size=\"3.5\" fill"}, // left to right
      {"[50, 0], \"to\": [0, 0]",
       "<text x=\"25\" y=\"222.5\" font-size=\"3.5\" fill"}, // right to left
      {"[0, 0], \"to\": [0, 50]", "rotate(-90 "},            // upwards
      {"[0, 50], \"to\": [0, 0]", "rotate(-90 "},            // downwards
      {"[0, 0], \"to\": [30, 30]", "rotate(-45 "},           // rising
      {"[30, 30], \"to\": [0, 0]", "rotate(-45 "},           // the same, drawn back
      {"[0, 30], \"to\": [30, 0]", "rotate(45 "},            // falling
  };
  for (const auto& [ends, expected] : rows) {
    std::string svg = Svg(vekhost::ParseDrawing(
        std::string(R"({"dimensions": [{"name": "a", "measure": 5, "from": )") + ends + "}]}",
        "d.json"));
    EXPECT_NE(svg.find(expected), std::string::npos) << ends << "\n" << svg;
  }
}

// A note written with no height is as the result file has it, invisible,
// and marked where it stands.
TEST_F(ResultsTest, ANoteOfNoHeightIsMarkedNotEnlarged) {
  Play("end\ndialog type height 0\ndialog click ok\npick width\npick length\npick height\n"
       "point 30 12\n");
  std::string svg = vekhost::DrawingSvg(drawing_, vekhost::NoteBook(drawing_));
  EXPECT_NE(svg.find("font-size=\"0\" fill=\"#d01c1c\">100X50X20</text>"), std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<title>a note of no height: 100X50X20</title>"), std::string::npos);
}

// The drawing's own notes are drawn at their height, however small; one
// without a height at the dimensions' text height.
TEST_F(ResultsTest, TheDrawingsNotesKeepTheirHeight) {
  std::string svg = Svg(vekhost::ParseDrawing(
      R"({"notes": [{"name": "a", "text": "A", "height": 0.8}, {"name": "b", "text": "B"}]})",
      "d.json"));
  EXPECT_NE(svg.find("font-size=\"0.8\" fill=\"black\">A</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("font-size=\"3.5\" fill=\"black\">B</text>"), std::string::npos) << svg;
}

// A note written beside the sheet widens the picture, so that it shows.
TEST_F(ResultsTest, ANoteBesideTheSheetIsInThePicture) {
  Play("pick width\npick length\npick height\npoint 400 -60\n");
  std::string svg = vekhost::DrawingSvg(drawing_, vekhost::NoteBook(drawing_));
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-10 0 "), 0u);
  std::string box = svg.substr(svg.find("viewBox=\"") + 9);
  double left, top, width, height;
  ASSERT_EQ(std::sscanf(box.c_str(), "%lf %lf %lf %lf", &left, &top, &width, &height), 4);
  EXPECT_GT(left + width, 207 + 400 + 9 * 0.6 * 4) << "reaches past the note's end: " << box;
  EXPECT_GT(height, 220 + 60) << "and below it";
}

} // namespace
