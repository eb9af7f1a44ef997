#include "NoteStep.h"

#include "PickState.h"
#include "Settings.h"
#include "StepRecords.h"

#include <algorithm>
#include <cstring>

namespace {

const char16_t kFigureCursor[] = u"도형";
const char16_t kTitleCursor[] = u"표제";
const char16_t kFigurePrompt[] = u"주기위치지시 혹은 주기선택 <종료버튼-표제프레임으로 변경> :";
const char16_t kTitlePrompt[] = u"주기위치지시 혹은 주기선택 <종료버튼-도형프레임으로 변경> :";
const char16_t kCommentError[] = u"주기속성 검출에러";
const char16_t kNotGeneralNote[] = u"일반주기를 선택하셔야 합니다.";
const char16_t kCreateError[] = u"주기생성 에러";

// A fresh, zero-filled copy of noteText for one host call, kept in the pick
// state until the next event reaches this step.
const VekChar* HostCopyOfNoteText() {
  const CString& text = PickState.noteText;
  std::unique_ptr<VekChar[]> copy(new VekChar[text.size() + 1]());
  std::copy(text.begin(), text.end(), copy.get());
  PickState.hostTextCopies.push_back(std::move(copy));
  return PickState.hostTextCopies.back().get();
}

VekCharSize ConfiguredCharSize() {
  const SettingsRecord& s = TriSpanSettings;
  return VekCharSize{s.Height, s.Width, s.Pitch};
}

// A new note's record at the point plus the configured offset, with a fresh
// copy of the text; every byte set.
VekNoteRecord NoteRecordAt(const VekPoint& point) {
  const SettingsRecord& s = TriSpanSettings;
  VekNoteRecord record{};
  record.kind = VEK_NOTE_KIND_NEW;
  record.x = point.x + s.positionX;
  record.y = point.y + s.positionY;
  record.text = HostCopyOfNoteText();
  record.reserved60 = VEK_NOTE_RESERVED60;
  record.charHeight = s.Height;
  record.charWidth = s.Width;
  record.charPitch = s.Pitch;
  record.reserved96 = VEK_NOTE_RESERVED96;
  record.reserved100 = VEK_NOTE_RESERVED100;
  return record;
}

// A note in a new segment at the point plus the configured offset, with the
// configured size: the segment's identifier, or VEK_FAILED when the host
// could not create the segment or its note. A segment left empty is deleted
// again; a failed identifier is never handed back to the host.
int32_t CreateNoteAt(const VekPoint& point, int32_t segmentMode) {
  int32_t segment = VekSgmCreateSegment(VEK_SEGMENT_KIND, segmentMode);
  if (segment == VEK_FAILED) return VEK_FAILED;
  VekNoteRecord record = NoteRecordAt(point);
  VekElementId note = VekCmtCreateNormal(segment, &record);
  if (note == VEK_FAILED) {
    VekSgmDeleteSegment(segment);
    return VEK_FAILED;
  }
  VekCharSize size = ConfiguredCharSize();
  VekCmtSetCharSize(note, &size);
  return segment;
}

// The cursor text names the current frame, the prompt the frame that the
// end button switches to.
void PutFrameTexts() {
  bool figure = VekEnvGetCurrentFrame() == FRAME_FIGURE;
  VekMsgPutCursorMessage(figure ? kFigureCursor : kTitleCursor);
  VekMsgPutMessage(figure ? kFigurePrompt : kTitlePrompt);
}

void ToggleFrame() {
  int32_t frame = VekEnvGetCurrentFrame();
  VekEnvSetFrame(frame == FRAME_FIGURE ? FRAME_TITLE : FRAME_FIGURE);
}

// Replaces the text of the picked general note; it keeps its height.
int32_t UpdatePickedNote(VekEventHandle handle) {
  VekElementId element = VekEvtGetElementId(EVT_PICK, handle);
  alignas(VekNoteRecord) unsigned char buffer[VEK_COMMENT_BUFFER_BYTES] = {};
  if (VekCmtGetComment(element, buffer) == VEK_FAILED) {
    VekMsgPutErrorMessage(kCommentError);
    return EXEC_END;
  }
  VekNoteRecord record;
  std::memcpy(&record, buffer, sizeof record);
  if (record.kind != VEK_NOTE_KIND_GENERAL) {
    VekMsgPutErrorMessage(kNotGeneralNote);
    return EXEC_END;
  }
  VekCmtSetNote(element, 0, HostCopyOfNoteText());
  VekCharSize size{record.charHeight, TriSpanSettings.Width, 0};
  VekCmtSetCharSize(element, &size);
  return EXEC_END;
}

} // namespace

int32_t ReadyNote(int32_t, VekPoint* point) {
  VekPoint anchor = point ? *point : VekPoint{0, 0};
  VekEvtSetEventMask(VEK_MASK_NOTE);
  VekEcho echo = EchoAt(VEK_ECHO_NOTE, anchor);
  VekEvtSetEcho(&echo);
  VekObjectFilter filter = NoteFilter();
  VekEvtSetObject(&filter);
  PutFrameTexts();
  VekCtlSetExecuteFunc(ExecNote, "%f %f", anchor.x, anchor.y);
  return 0;
}

int32_t ExecNote(int32_t kind, VekEventHandle handle) {
  PickState.hostTextCopies.clear();
  VekPoint point;
  if (VekEvtGetPoint(kind, handle, &point) != 0) {
    if (kind == EVT_END) {
      ToggleFrame();
      PutFrameTexts();
    }
    return EXEC_STAY;
  }
  bool motion = (VekEvtIsMouseMotion(kind, handle) & 0xFF) != 0;
  CreateNoteAt(point, VEK_SEGMENT_PREVIEW); // a preview that cannot be made is left out
  if (motion) return EXEC_STAY;
  if (kind == EVT_POINT || kind == EVT_FURTHER) {
    if (CreateNoteAt(point, VEK_SEGMENT_KEEP) == VEK_FAILED) VekMsgPutErrorMessage(kCreateError);
    return EXEC_END;
  }
  if (kind == EVT_PICK) {
    int32_t segment = CreateNoteAt(point, VEK_SEGMENT_KEEP);
    if (segment != VEK_FAILED) VekSgmDeleteSegment(segment);
    return UpdatePickedNote(handle);
  }
  return EXEC_STAY;
}
