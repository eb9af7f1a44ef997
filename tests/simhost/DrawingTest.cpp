// The simulated drawing: dimensions, frames, segments and notes.
#include "FakePlugin.h"
#include "PluginSession.h"

#include <cstring>

namespace {

const VekChar kSentinel = 0xAAAA;

std::vector<VekElementId> Notes() {
  std::vector<VekElementId> ids(SimListNotes(nullptr, 0));
  SimListNotes(ids.data(), int32_t(ids.size()));
  return ids;
}

VekNoteRecord Record(const VekChar* text, double x, double y) {
  VekNoteRecord r{};
  r.kind = VEK_NOTE_KIND_NEW;
  r.x = x, r.y = y;
  r.text = text;
  r.reserved60 = VEK_NOTE_RESERVED60;
  r.charHeight = 4, r.charWidth = 3, r.charPitch = 1;
  r.reserved96 = VEK_NOTE_RESERVED96;
  r.reserved100 = VEK_NOTE_RESERVED100;
  return r;
}

} // namespace

using DrawingTest = SimHostTest;

TEST_F(DrawingTest, DimensionsAnswerTheirQueries) {
  SimDimension d{22, 100.5, 2, 3, "\x1c!", "mm", 2};
  VekElementId id = SimAddDimension(&d);
  double measure = 0;
  EXPECT_EQ(VekElmGetType(id), 22);
  EXPECT_EQ(VekDimGetMeasure(id, &measure), 0);
  EXPECT_EQ(measure, 100.5);
  VekChar prefix[104], suffix[104];
  EXPECT_EQ(VekDimGetNote(id, prefix, suffix), 3);
  EXPECT_EQ(std::u16string(prefix), u"\x1c!");
  EXPECT_EQ(std::u16string(suffix), u"mm");
  EXPECT_EQ(VekDimGetMark(id), 2);
  EXPECT_EQ(VekDimGetDecimalPlace(id), 2);
}

TEST_F(DrawingTest, NoteTextsFillTheBuffersToTheirEdge) {
  struct Row {
    size_t length;
    bool terminated;
  };
  for (Row row : {Row{103, true}, Row{104, false}, Row{300, false}}) {
    std::string text(row.length, 'p');
    SimDimension d{12, 1, 0, 1, text.c_str(), nullptr, 0};
    VekElementId id = SimAddDimension(&d);
    VekChar buffers[2][105];
    for (auto& buffer : buffers)
      for (VekChar& unit : buffer) unit = kSentinel;
    EXPECT_EQ(VekDimGetNote(id, buffers[0], buffers[1]), 1);
    size_t units = row.length < 104 ? row.length : 104;
    EXPECT_EQ(std::u16string(buffers[0], units), std::u16string(units, u'p'));
    if (row.terminated) {
      EXPECT_EQ(buffers[0][units], 0);
    }
    EXPECT_EQ(buffers[0][104], kSentinel) << "nothing past 104 units";
    EXPECT_EQ(buffers[1][0], 0);
    EXPECT_EQ(buffers[1][1], kSentinel);
  }
}

TEST_F(DrawingTest, OtherElementsFailTheDimensionQueries) {
  VekElementId line = SimAddElement(SIM_TYPE_LINE);
  double measure = 7;
  VekChar prefix[104] = {kSentinel}, suffix[104] = {kSentinel};
  EXPECT_EQ(VekElmGetType(line), SIM_TYPE_LINE);
  EXPECT_EQ(VekElmGetType(0), -1);
  EXPECT_EQ(VekDimGetMeasure(line, &measure), -1);
  EXPECT_EQ(measure, 7);
  EXPECT_EQ(VekDimGetNote(line, prefix, suffix), -1);
  EXPECT_EQ(prefix[0], kSentinel);
  EXPECT_EQ(VekDimGetMark(line), -1);
  EXPECT_EQ(VekDimGetDecimalPlace(line), -1);
}

TEST_F(DrawingTest, OnlyTheTwoFramesCanBeMadeCurrent) {
  EXPECT_EQ(VekEnvGetCurrentFrame(), FRAME_FIGURE);
  EXPECT_EQ(VekEnvSetFrame(FRAME_TITLE), 0);
  EXPECT_EQ(VekEnvGetCurrentFrame(), FRAME_TITLE);
  EXPECT_EQ(VekEnvSetFrame(3), -1);
  EXPECT_EQ(VekEnvSetFrame(-1), -1);
  EXPECT_EQ(SimGetCurrentFrame(), FRAME_TITLE);
}

TEST_F(DrawingTest, TheHostKeepsItsOwnCopyOfANotesText) {
  SimSetCurrentFrame(FRAME_TITLE);
  VekChar text[] = u"100X50X20";
  int32_t segment = VekSgmCreateSegment(2, 0);
  VekNoteRecord record = Record(text, 101, 50);
  VekElementId note = VekCmtCreateNormal(segment, &record);
  ASSERT_GT(note, 0);
  std::memset(text, 0, sizeof text);
  SimNote state{};
  ASSERT_EQ(SimGetNote(note, &state), 0);
  EXPECT_STREQ(state.text, "100X50X20");
  EXPECT_EQ(state.x, 101);
  EXPECT_EQ(state.frame, FRAME_TITLE);
  EXPECT_EQ(state.preview, 0);
  EXPECT_EQ(VekElmGetType(note), SIM_TYPE_NOTE);
  unsigned char raw[104];
  SimLastNoteRecord(raw);
  EXPECT_EQ(std::memcmp(raw, &record, sizeof raw), 0);
  EXPECT_EQ(VekCmtCreateNormal(999, &record), -1);
}

TEST_F(DrawingTest, APreviewVanishesWhenReplacedAndWhenTheStepEnds) {
  SimStartCommand();
  VekEvtSetEventMask(0x20000);
  VekNoteRecord record = Record(u"a", 0, 0);
  VekElementId kept = VekCmtCreateNormal(VekSgmCreateSegment(2, 0), &record);
  VekElementId first = VekCmtCreateNormal(VekSgmCreateSegment(2, 2), &record);
  SimNote state{};
  ASSERT_EQ(SimGetNote(first, &state), 0);
  EXPECT_EQ(state.preview, 1);
  VekElementId second = VekCmtCreateNormal(VekSgmCreateSegment(2, 2), &record);
  EXPECT_EQ(Notes(), (std::vector<VekElementId>{kept, second}));
  FakePlugin::execResult = EXEC_NEXT;
  Send(DataPoint(1, 1));
  EXPECT_EQ(Notes(), std::vector<VekElementId>{kept});
  VekCmtCreateNormal(VekSgmCreateSegment(2, 2), &record);
  FakePlugin::execResult = EXEC_END;
  Send(EndButton());
  EXPECT_EQ(Notes(), std::vector<VekElementId>{kept});
}

TEST_F(DrawingTest, DeletingASegmentDeletesItsNotes) {
  VekNoteRecord record = Record(u"a", 0, 0);
  int32_t segment = VekSgmCreateSegment(2, 0);
  VekCmtCreateNormal(segment, &record);
  EXPECT_EQ(VekSgmDeleteSegment(segment), 0);
  EXPECT_TRUE(Notes().empty());
  EXPECT_EQ(VekSgmDeleteSegment(segment), -1);
}

std::vector<VekElementId> ChangedSince(int32_t since) {
  std::vector<VekElementId> ids(SimChangedNotes(since, nullptr, 0));
  SimChangedNotes(since, ids.data(), int32_t(ids.size()));
  return ids;
}

// The record of the plug-in's note changes: each creation, new text, new
// size and deletion counts one; previews and the drawing's own notes as
// placed count none; a note changed twice is told once, at its last change.
TEST_F(DrawingTest, TheHostCountsThePlugInsNoteChanges) {
  SimNote general{VEK_NOTE_KIND_GENERAL, 5, 6, "old", 3.5, 2, 1, 0, 0};
  VekElementId own = SimAddNote(&general);
  EXPECT_EQ(SimNoteChangeCount(), 0) << "the drawing as placed";
  VekNoteRecord record = Record(u"a", 0, 0);
  int32_t segment = VekSgmCreateSegment(2, 0);
  VekElementId written = VekCmtCreateNormal(segment, &record);
  EXPECT_EQ(SimNoteChangeCount(), 1);
  VekElementId preview = VekCmtCreateNormal(VekSgmCreateSegment(2, 2), &record);
  VekCmtSetNote(preview, 0, u"b");
  VekCharSize size{9, 9, 9};
  VekCmtSetCharSize(preview, &size);
  EXPECT_EQ(SimNoteChangeCount(), 1) << "a preview is no change";
  EXPECT_EQ(SimPreviewNote(), preview);
  VekCmtSetCharSize(own, &size);
  EXPECT_EQ(SimNoteChangeCount(), 2);
  VekCmtSetNote(written, 0, u"c");
  EXPECT_EQ(SimNoteChangeCount(), 3);
  VekCmtSetNote(own, 0, u"d");
  EXPECT_EQ(ChangedSince(0), (std::vector<VekElementId>{written, own})) << "each once, last last";
  EXPECT_EQ(ChangedSince(2), (std::vector<VekElementId>{written, own}));
  EXPECT_EQ(ChangedSince(3), std::vector<VekElementId>{own});
  EXPECT_EQ(ChangedSince(4), std::vector<VekElementId>{});
  VekElementId first = 0;
  EXPECT_EQ(SimChangedNotes(0, &first, 1), 2) << "all counted, as many written as fit";
  EXPECT_EQ(first, written);
  VekSgmDeleteSegment(segment);
  EXPECT_EQ(ChangedSince(4), std::vector<VekElementId>{written}) << "deleted";
  EXPECT_EQ(SimNoteChangeCount(), 5);
  VekSgmCreateSegment(2, 2);
  EXPECT_EQ(SimPreviewNote(), 0) << "a new preview segment replaces the one before";
  SimReset();
  EXPECT_EQ(SimNoteChangeCount(), 0);
  EXPECT_EQ(ChangedSince(0), std::vector<VekElementId>{});
}

TEST_F(DrawingTest, NotesAreReadSizedAndRewritten) {
  SimNote general{VEK_NOTE_KIND_GENERAL, 5, 6, "old", 3.5, 2, 1, 0, 0};
  VekElementId note = SimAddNote(&general);
  unsigned char buffer[VEK_COMMENT_BUFFER_BYTES];
  std::memset(buffer, 0xAA, sizeof buffer);
  ASSERT_EQ(VekCmtGetComment(note, buffer), 0);
  VekNoteRecord record;
  std::memcpy(&record, buffer, sizeof record);
  EXPECT_EQ(record.kind, VEK_NOTE_KIND_GENERAL);
  EXPECT_EQ(record.charHeight, 3.5);
  EXPECT_EQ(std::u16string(record.text), u"old");
  EXPECT_EQ(VekCmtSetNote(note, 0, u"100X50"), 0);
  VekCharSize size{3.5, 4, 0};
  EXPECT_EQ(VekCmtSetCharSize(note, &size), 0);
  SimNote state{};
  SimGetNote(note, &state);
  EXPECT_STREQ(state.text, "100X50");
  EXPECT_EQ(state.width, 4);
  EXPECT_EQ(state.pitch, 0);
  VekElementId line = SimAddElement(SIM_TYPE_LINE);
  EXPECT_EQ(VekCmtGetComment(line, buffer), -1);
  EXPECT_EQ(VekCmtSetNote(line, 0, u"x"), -1);
  EXPECT_EQ(VekCmtSetCharSize(line, &size), -1);
}

TEST_F(DrawingTest, LengthBetweenTwoPoints) {
  VekPoint a{1, 1}, b{4, 5};
  EXPECT_EQ(VekAriLen2Pnts(&a, &b), 5.0);
  EXPECT_EQ(VekAriLen2Pnts(&a, nullptr), -1.0);
}
