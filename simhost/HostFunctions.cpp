// The host library's functions over the simulated drawing. Each one journals
// its call and answers as VekLib.h says, failing when SimFailCall asks it to.
#include "SimState.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

using namespace sim;

namespace {

std::string Args(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : ", ") + part;
  return out;
}

const std::string& ArgText(const std::string& args) { return args; }
std::string ArgText(const char* args) { return args; }
template <typename Make> std::string ArgText(const Make& make) { return make(); }

// Journals the call, when the journal is on (the arguments' text is made only
// then), and answers result.
template <typename Args> int32_t Logged(const char* name, const Args& args, int32_t result) {
  if (Journaling())
    Journal(std::string(name) + "(" + ArgText(args) + ") = " + std::to_string(result));
  return result;
}

std::string Point(double x, double y) { return "(" + Number(x) + ", " + Number(y) + ")"; }

// The event a query names: the one being handled, with its kind and handle.
const Event* EventOf(int32_t kind, VekEventHandle handle) {
  Host& h = State();
  if (!h.inEvent || h.event.data.kind != kind || h.event.handle != handle) return nullptr;
  return &h.event;
}

Element* ElementOf(VekElementId id) {
  auto it = State().elements.find(id);
  return it == State().elements.end() ? nullptr : &it->second;
}

Dimension* DimensionOf(VekElementId id) {
  Element* element = ElementOf(id);
  return element && element->isDimension ? &element->dimension : nullptr;
}

Note* NoteOf(VekElementId id) {
  Element* element = ElementOf(id);
  return element && element->isNote ? &element->note : nullptr;
}

// Reads the values a format announces ("%f" doubles, "%d" ints, "%s" texts).
std::string FormatArgs(const char* format, va_list args) {
  if (!format) return "null";
  std::string out = "\"" + std::string(format) + "\"";
  for (const char* p = format; *p; ++p) {
    if (*p != '%' || !p[1]) continue;
    ++p;
    if (*p == 'f') out += ", " + Number(va_arg(args, double));
    if (*p == 'd') out += ", " + std::to_string(va_arg(args, int));
    if (*p == 's') out += ", " + std::string(va_arg(args, const char*));
  }
  return out;
}

std::u16string CopyText(const VekChar* text) { return text ? std::u16string(text) : u""; }

// Copies text into a buffer of VEK_DIM_NOTE_UNITS units: NUL-terminated when
// it fits, the first 104 units without a NUL when it does not.
void FillNoteBuffer(VekChar* buffer, const std::u16string& text) {
  if (!buffer) return;
  const size_t capacity = VEK_DIM_NOTE_UNITS;
  size_t units = text.size() < capacity ? text.size() : capacity;
  std::memcpy(buffer, text.data(), units * sizeof(VekChar));
  if (units < capacity) buffer[units] = 0;
}

std::string RecordText(const VekNoteRecord& r) {
  std::string text = "{kind " + std::to_string(r.kind) + ", " + Point(r.x, r.y) + ", " +
                     Quote(r.text) + ", size " + Number(r.charHeight) + "/" + Number(r.charWidth) +
                     "/" + Number(r.charPitch);
  bool usual = r.reserved24 == 0 && r.reserved28 == 0 && r.reserved32 == 0 && r.reserved48 == 0 &&
               r.reserved56 == 0 && r.reserved60 == VEK_NOTE_RESERVED60 && r.reserved88 == 0 &&
               r.reserved96 == VEK_NOTE_RESERVED96 && r.reserved100 == VEK_NOTE_RESERVED100;
  if (!usual)
    text += ", reserved " + std::to_string(r.reserved24) + "/" + std::to_string(r.reserved28) +
            "/" + std::to_string(r.reserved32) + "/" + Number(r.reserved48) + "/" +
            std::to_string(r.reserved56) + "/" + std::to_string(r.reserved60) + "/" +
            Number(r.reserved88) + "/" + std::to_string(r.reserved96) + "/" +
            std::to_string(r.reserved100);
  return text + "}";
}

} // namespace

extern "C" {

int32_t VekCtlRegisterVekLib2(VekCommandProc start, VekCommandProc query, VekCommandProc end) {
  Host& h = State();
  std::string args = Args({CallbackName(reinterpret_cast<const void*>(start), "start"),
                           CallbackName(reinterpret_cast<const void*>(query), "query"),
                           CallbackName(reinterpret_cast<const void*>(end), "end")});
  if (Failing(__func__)) return Logged(__func__, args, 0);
  h.start = start, h.query = query, h.end = end;
  return Logged(__func__, args, 1);
}

int32_t VekCtlSetReadyFunc(VekReadyProc ready, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text =
      CallbackName(reinterpret_cast<const void*>(ready), "ready") + ", " + FormatArgs(format, args);
  va_end(args);
  State().pendingReady = ready;
  return Logged(__func__, text, 0);
}

int32_t VekCtlSetExecuteFunc(VekExecuteProc execute, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = CallbackName(reinterpret_cast<const void*>(execute), "exec") + ", " +
                     FormatArgs(format, args);
  va_end(args);
  State().execute = execute;
  return Logged(__func__, text, 0);
}

int32_t VekEvtSetEventMask(uint32_t mask) {
  State().mask = mask;
  return Logged(__func__, Hex(mask), 0);
}

int32_t VekEvtSetObject(const VekObjectFilter* filter) {
  Host& h = State();
  if (!filter) return Logged(__func__, "null", -1);
  h.hasFilter = true;
  h.filter = *filter;
  const int32_t* v = filter->v;
  return Logged(__func__,
                "{" +
                    Args({std::to_string(v[0]), std::to_string(v[1]), Hex(uint32_t(v[2])),
                          std::to_string(v[3]), std::to_string(v[4])}) +
                    "}",
                0);
}

int32_t VekEvtSetCompareFunction(VekCompareProc compare) {
  State().compare = compare;
  return Logged(__func__, CallbackName(reinterpret_cast<const void*>(compare), "compare"), 0);
}

int32_t VekEvtSetEcho(const VekEcho* echo) {
  if (!echo) return Logged(__func__, "null", -1);
  State().echo = *echo;
  return Logged(__func__,
                "{kind " + std::to_string(echo->kind) + ", " + Point(echo->x, echo->y) + "}", 0);
}

int32_t VekIddClearSysIdData(void) { return Logged(__func__, "", 0); }

int32_t VekEvtGetPoint(int32_t kind, VekEventHandle handle, VekPoint* out) {
  auto args = [&] { return Args({std::to_string(kind), std::to_string(handle)}); };
  const Event* event = EventOf(kind, handle);
  if (Failing(__func__) || !event || !out) return Logged(__func__, args, -1);
  if (!event->data.hasPoint) return Logged(__func__, args, 1);
  out->x = event->data.x;
  out->y = event->data.y;
  if (Journaling())
    Journal(std::string(__func__) + "(" + args() + ") = 0 " + Point(out->x, out->y));
  return 0;
}

VekElementId VekEvtGetElementId(int32_t kind, VekEventHandle handle) {
  auto args = [&] { return Args({std::to_string(kind), std::to_string(handle)}); };
  const Event* event = EventOf(kind, handle);
  if (Failing(__func__)) return Logged(__func__, args, -1);
  return Logged(__func__, args, event ? event->data.element : 0);
}

const VekChar* VekEvtGetKeyinString(int32_t kind, VekEventHandle handle) {
  const Event* event = EventOf(kind, handle);
  const VekChar* text = nullptr;
  if (!Failing(__func__) && event && event->data.kind == EVT_KEYIN && !event->keyinNull)
    text = event->keyin.c_str();
  if (Journaling())
    Journal(std::string(__func__) + "(" + Args({std::to_string(kind), std::to_string(handle)}) +
            ") = " + Quote(text));
  return text;
}

int32_t VekEvtIsMouseMotion(int32_t kind, VekEventHandle handle) {
  const Event* event = EventOf(kind, handle);
  auto args = [&] { return Args({std::to_string(kind), std::to_string(handle)}); };
  if (Failing(__func__)) return Logged(__func__, args, -1);
  return Logged(__func__, args, event && event->data.motion ? 1 : 0);
}

int32_t VekMsgPutMessage(const VekChar* text) {
  State().prompt = CopyText(text);
  State().messages.emplace_back(SIM_MESSAGE_PROMPT, Utf8(CopyText(text)));
  return Logged(
      __func__, [&] { return Quote(text); }, 0);
}

int32_t VekMsgPutErrorMessage(const VekChar* text) {
  State().errors.push_back(Utf8(CopyText(text)));
  State().messages.emplace_back(SIM_MESSAGE_ERROR, Utf8(CopyText(text)));
  return Logged(
      __func__, [&] { return Quote(text); }, 0);
}

int32_t VekMsgPutCursorMessage(const VekChar* text) {
  State().cursor = CopyText(text);
  State().messages.emplace_back(SIM_MESSAGE_CURSOR, Utf8(CopyText(text)));
  return Logged(
      __func__, [&] { return Quote(text); }, 0);
}

int32_t VekElmGetType(VekElementId element) {
  Element* e = ElementOf(element);
  return Logged(
      __func__, [&] { return std::to_string(element); }, Failing(__func__) || !e ? -1 : e->type);
}

int32_t VekDimGetMeasure(VekElementId element, double* out) {
  Dimension* d = DimensionOf(element);
  if (Failing(__func__) || !d || !out)
    return Logged(
        __func__, [&] { return std::to_string(element); }, -1);
  *out = d->measure;
  if (Journaling())
    Journal(std::string(__func__) + "(" + std::to_string(element) + ") = 0 " + Number(*out));
  return 0;
}

int32_t VekDimGetNote(VekElementId element, VekChar* prefix, VekChar* suffix) {
  Dimension* d = DimensionOf(element);
  if (Failing(__func__) || !d)
    return Logged(
        __func__, [&] { return std::to_string(element); }, -1);
  FillNoteBuffer(prefix, d->prefix);
  FillNoteBuffer(suffix, d->suffix);
  return Logged(
      __func__, [&] { return std::to_string(element); }, d->noteResult);
}

int32_t VekDimGetMark(VekElementId element) {
  Dimension* d = DimensionOf(element);
  return Logged(
      __func__, [&] { return std::to_string(element); }, Failing(__func__) || !d ? -1 : d->mark);
}

int32_t VekDimGetDecimalPlace(VekElementId element) {
  Dimension* d = DimensionOf(element);
  return Logged(
      __func__, [&] { return std::to_string(element); },
      Failing(__func__) || !d ? -1 : d->decimals);
}

double VekAriLen2Pnts(const VekPoint* a, const VekPoint* b) {
  double length = Failing(__func__) || !a || !b ? -1.0 : std::hypot(b->x - a->x, b->y - a->y);
  if (Journaling())
    Journal(std::string(__func__) + "(" + (a ? Point(a->x, a->y) : "null") + ", " +
            (b ? Point(b->x, b->y) : "null") + ") = " + Number(length));
  return length;
}

int32_t VekEnvGetCurrentFrame(void) {
  return Logged(__func__, "", Failing(__func__) ? -1 : State().frame);
}

int32_t VekEnvSetFrame(int32_t frame) {
  bool known = frame == FRAME_FIGURE || frame == FRAME_TITLE;
  if (Failing(__func__) || !known)
    return Logged(
        __func__, [&] { return std::to_string(frame); }, -1);
  State().frame = frame;
  return Logged(
      __func__, [&] { return std::to_string(frame); }, 0);
}

int32_t VekSgmCreateSegment(int32_t kind, int32_t mode) {
  Host& h = State();
  auto args = [&] { return Args({std::to_string(kind), std::to_string(mode)}); };
  if (Failing(__func__)) return Logged(__func__, args, -1);
  bool preview = mode == VEK_SEGMENT_PREVIEW;
  if (preview) DropPreviews(); // a new preview replaces the one before
  int32_t id = h.nextSegment++;
  h.segments[id].preview = preview;
  if (preview) h.previewSegments.insert(id);
  return Logged(__func__, args, id);
}

int32_t VekSgmDeleteSegment(int32_t segment) {
  Host& h = State();
  if (Failing(__func__) || !h.segments.count(segment))
    return Logged(
        __func__, [&] { return std::to_string(segment); }, -1);
  DropSegment(segment);
  return Logged(
      __func__, [&] { return std::to_string(segment); }, 0);
}

VekElementId VekCmtCreateNormal(int32_t segment, const VekNoteRecord* record) {
  Host& h = State();
  auto args = [&] {
    return std::to_string(segment) + ", " + (record ? RecordText(*record) : "null");
  };
  if (record) std::memcpy(h.lastRecord, record, sizeof h.lastRecord);
  if (Failing(__func__) || !record || !h.segments.count(segment)) return Logged(__func__, args, -1);
  Element element;
  element.type = SIM_TYPE_NOTE;
  element.isNote = true;
  Note& note = element.note;
  note.kind = record->kind;
  note.x = record->x, note.y = record->y;
  note.text = CopyText(record->text);
  RememberHandedText(record->text);
  note.height = record->charHeight, note.width = record->charWidth, note.pitch = record->charPitch;
  note.frame = h.frame;
  note.segment = segment;
  VekElementId id = h.nextElement++;
  h.elements[id] = element;
  h.notes.insert(id);
  Segment& owner = h.segments[segment];
  owner.notes.push_back(id);
  if (owner.preview)
    h.previewNote = id;
  else
    NoteChanged(id);
  return Logged(__func__, args, id);
}

int32_t VekCmtSetCharSize(VekElementId element, const VekCharSize* size) {
  Note* note = NoteOf(element);
  auto args = [&] {
    return std::to_string(element) + ", " +
           (size
                ? "{" + Args({Number(size->height), Number(size->width), Number(size->pitch)}) + "}"
                : "null");
  };
  if (Failing(__func__) || !note || !size) return Logged(__func__, args, -1);
  note->height = size->height, note->width = size->width, note->pitch = size->pitch;
  if (!IsPreview(*note)) NoteChanged(element);
  return Logged(__func__, args, 0);
}

int32_t VekCmtGetComment(VekElementId element, void* record) {
  Note* note = NoteOf(element);
  if (Failing(__func__) || !note || !record)
    return Logged(
        __func__, [&] { return std::to_string(element); }, -1);
  unsigned char* buffer = static_cast<unsigned char*>(record);
  std::memset(buffer, 0, VEK_COMMENT_BUFFER_BYTES);
  VekNoteRecord r{};
  r.kind = note->kind;
  r.x = note->x, r.y = note->y;
  r.text = note->text.c_str();
  r.reserved60 = VEK_NOTE_RESERVED60;
  r.charHeight = note->height, r.charWidth = note->width, r.charPitch = note->pitch;
  r.reserved96 = VEK_NOTE_RESERVED96;
  r.reserved100 = VEK_NOTE_RESERVED100;
  std::memcpy(buffer, &r, sizeof r);
  if (Journaling())
    Journal(std::string(__func__) + "(" + std::to_string(element) + ") = 0 " + RecordText(r));
  return 0;
}

int32_t VekCmtSetNote(VekElementId element, int32_t zero, const VekChar* text) {
  Note* note = NoteOf(element);
  auto args = [&] { return Args({std::to_string(element), std::to_string(zero), Quote(text)}); };
  if (Failing(__func__) || !note || !text) return Logged(__func__, args, -1);
  note->text = text;
  RememberHandedText(text);
  if (!IsPreview(*note)) NoteChanged(element);
  return Logged(__func__, args, 0);
}

} // extern "C"
