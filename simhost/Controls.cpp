// The simulated host's controls: loading the plug-in, the drawing, the
// command protocol and the journal.
#include "SimState.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace sim {

namespace {

bool MaskLets(const SimEvent& e, uint32_t mask) {
  switch (e.kind) {
  case EVT_END:
    return true;
  case EVT_PICK:
    return mask & (VEK_EVENTS_COMPARED_PICKS | VEK_EVENTS_FILTERED_PICKS);
  case EVT_POINT:
    return mask & (e.motion ? VEK_EVENTS_MOTION : VEK_EVENTS_DATA_POINTS);
  case EVT_FURTHER:
    return mask & VEK_EVENTS_MOTION;
  case EVT_KEYIN:
    return mask & VEK_EVENTS_KEYINS;
  default:
    return false;
  }
}

bool FilterMatches(const Element& element, const VekObjectFilter& filter) {
  const int32_t* v = filter.v;
  if (v[0] == VEK_FILTER_CLASS_DIMENSION) {
    int32_t bit = element.type - 12;
    return element.isDimension &&
           (v[2] == 0 || (bit >= 0 && bit < 32 && (uint32_t(v[2]) >> bit & 1)));
  }
  if (v[0] == VEK_FILTER_CLASS_NOTE)
    return element.isNote &&
           (v[3] == VEK_FILTER_ALL_NOTES || element.note.kind == VEK_NOTE_KIND_GENERAL);
  return false;
}

bool PickAccepted(const SimEvent& e) {
  Host& h = State();
  auto it = h.elements.find(e.element);
  if (it == h.elements.end()) return false;
  bool matches = !h.hasFilter || FilterMatches(it->second, h.filter);
  if ((h.mask & VEK_EVENTS_FILTERED_PICKS) && h.hasFilter && matches) return true;
  if (!(h.mask & VEK_EVENTS_COMPARED_PICKS) || !matches) return false;
  return !h.compare || h.compare(e.element) == 1;
}

void ResetStep() {
  Host& h = State();
  h.execute = nullptr;
  h.pendingReady = nullptr;
  h.compare = nullptr;
  h.mask = 0;
  h.hasFilter = false;
  h.filter = VekObjectFilter{};
  h.echo = VekEcho{};
}

void FinishCommand() {
  Host& h = State();
  h.running = false;
  DropPreviews();
  ResetStep();
  if (h.end) h.end();
}

} // namespace

Host& State() {
  static Host host;
  return host;
}

bool Failing(const char* function) {
  const std::set<std::string>& failing = State().failing;
  return !failing.empty() && failing.count(function) != 0;
}

bool Journaling() { return State().journaling; }

void Journal(const std::string& entry) {
  Host& h = State();
  if (!h.journaling) return;
  h.journal.push_back(entry);
  if (h.journal.size() > size_t(SIM_JOURNAL_KEPT)) {
    h.journal.pop_front();
    ++h.journalDropped;
  }
}

void ClearJournal() {
  Host& h = State();
  h.journal.clear();
  h.journalDropped = 0;
  h.callbackNames.clear();
  h.callbackCounts.clear();
}

void DropPreviews() {
  Host& h = State();
  std::set<int32_t> previews = h.previewSegments;
  for (int32_t segment : previews) DropSegment(segment);
  h.previewNote = 0;
}

void DropSegment(int32_t id) {
  Host& h = State();
  auto segment = h.segments.find(id);
  if (segment == h.segments.end()) return;
  for (VekElementId note : segment->second.notes) {
    h.elements.erase(note);
    h.notes.erase(note);
    if (!segment->second.preview) NoteChanged(note);
  }
  h.previewSegments.erase(id);
  h.segments.erase(segment);
}

bool IsPreview(const Note& note) {
  auto segment = State().segments.find(note.segment);
  return segment != State().segments.end() && segment->second.preview;
}

void NoteChanged(VekElementId id) {
  Host& h = State();
  auto last = h.lastNoteChange.find(id);
  if (last != h.lastNoteChange.end()) h.noteChanges.erase(last->second);
  h.lastNoteChange[id] = ++h.noteChangeCount;
  h.noteChanges[h.noteChangeCount] = id;
}

void RememberHandedText(const VekChar* text) {
  if (text && State().checkHandedTexts) State().handedTexts.emplace_back(text, text);
}

void CheckHandedTexts() {
  Host& h = State();
  for (const auto& [pointer, text] : h.handedTexts)
    if (std::u16string(pointer) != text) ++h.staleTexts;
  h.handedTexts.clear();
}

} // namespace sim

using namespace sim;

extern "C" {

int32_t SimLoadPlugin(const char* path) {
  Host& h = State();
  SimUnloadPlugin();
  VekStartupProc startup = nullptr;
#ifdef _WIN32
  HMODULE library = LoadLibraryA(path);
  if (library)
    startup = reinterpret_cast<VekStartupProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "Startup")));
  h.lastError =
      library ? "no Startup in " + std::string(path)
              : std::string(path) + ": cannot load (error " + std::to_string(GetLastError()) + ")";
#else
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library) startup = reinterpret_cast<VekStartupProc>(dlsym(library, "Startup"));
  const char* reason = dlerror();
  h.lastError = reason ? reason : "";
#endif
  h.library = reinterpret_cast<void*>(library);
  if (!startup) {
    SimUnloadPlugin();
    return SIM_LOAD_FAILED;
  }
  h.lastError.clear();
  return startup();
}

void SimUnloadPlugin(void) {
  Host& h = State();
  if (h.running) FinishCommand();
  h.start = h.query = h.end = nullptr;
  ResetStep();
  h.handedTexts.clear(); // they went with the library
  if (!h.library) return;
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(h.library));
#else
  dlclose(h.library);
#endif
  h.library = nullptr;
}

const char* SimLastError(void) { return State().lastError.c_str(); }

void SimReset(void) {
  Host& h = State();
  h.elements.clear();
  h.notes.clear();
  h.segments.clear();
  h.previewSegments.clear();
  h.previewNote = 0;
  h.noteChangeCount = 0;
  h.noteChanges.clear();
  h.lastNoteChange.clear();
  h.nextElement = 1;
  h.nextSegment = 1;
  h.frame = FRAME_FIGURE;
  h.prompt.clear();
  h.cursor.clear();
  h.errors.clear();
  h.messages.clear();
  h.failing.clear();
  h.handedTexts.clear();
  h.staleTexts = 0;
  h.protocolFaults = 0;
  h.deliverAll = false;
  h.readyWithoutPoint = false;
  h.journaling = true;
  h.checkHandedTexts = true;
  h.lastHandle = 0;
  std::memset(h.lastRecord, 0, sizeof h.lastRecord);
  ClearJournal();
}

VekElementId SimAddDimension(const SimDimension* dimension) {
  Host& h = State();
  Element element;
  element.type = dimension->type;
  element.isDimension = true;
  Dimension& d = element.dimension;
  d.type = dimension->type;
  d.measure = dimension->measure;
  d.decimals = dimension->decimals;
  d.noteResult = dimension->noteResult;
  d.prefix = Utf16(dimension->prefix);
  d.suffix = Utf16(dimension->suffix);
  d.mark = dimension->mark;
  VekElementId id = h.nextElement++;
  h.elements[id] = element;
  return id;
}

VekElementId SimAddNote(const SimNote* note) {
  Host& h = State();
  Element element;
  element.type = SIM_TYPE_NOTE;
  element.isNote = true;
  Note& n = element.note;
  n.kind = note->kind;
  n.x = note->x, n.y = note->y;
  n.text = Utf16(note->text);
  n.height = note->height, n.width = note->width, n.pitch = note->pitch;
  n.frame = h.frame;
  VekElementId id = h.nextElement++;
  h.elements[id] = element;
  h.notes.insert(id);
  return id;
}

VekElementId SimAddElement(int32_t type) {
  Host& h = State();
  Element element;
  element.type = type;
  VekElementId id = h.nextElement++;
  h.elements[id] = element;
  return id;
}

int32_t SimListNotes(VekElementId* ids, int32_t capacity) {
  const std::set<VekElementId>& notes = State().notes;
  int32_t i = 0;
  for (auto it = notes.begin(); ids && it != notes.end() && i < capacity; ++it) ids[i++] = *it;
  return int32_t(notes.size());
}

int32_t SimNoteChangeCount(void) { return State().noteChangeCount; }

int32_t SimChangedNotes(int32_t since, VekElementId* ids, int32_t capacity) {
  const std::map<int32_t, VekElementId>& changes = State().noteChanges;
  int32_t count = 0;
  for (auto it = changes.upper_bound(since); it != changes.end(); ++it, ++count)
    if (ids && count < capacity) ids[count] = it->second;
  return count;
}

VekElementId SimPreviewNote(void) { return State().previewNote; }

int32_t SimGetNote(VekElementId id, SimNote* out) {
  Host& h = State();
  auto it = h.elements.find(id);
  if (it == h.elements.end() || !it->second.isNote || !out) return -1;
  const Note& n = it->second.note;
  std::string& text = h.noteTextOut[id] = Utf8(n.text);
  auto segment = h.segments.find(n.segment);
  *out = SimNote{
      n.kind,       n.x,      n.y,
      text.c_str(), n.height, n.width,
      n.pitch,      n.frame,  segment != h.segments.end() && segment->second.preview ? 1 : 0};
  return 0;
}

void SimSetCurrentFrame(int32_t frame) { State().frame = frame; }
int32_t SimGetCurrentFrame(void) { return State().frame; }

int32_t SimStartCommand(void) {
  Host& h = State();
  if (!h.start) return SIM_NOT_RUNNING;
  if (h.running) FinishCommand();
  ResetStep();
  CheckHandedTexts();
  if (h.query && h.query() != 0) return SIM_REFUSED;
  h.running = true;
  int32_t result = h.start();
  if (!h.execute) FinishCommand(); // nothing to take the events
  return result;
}

int32_t SimSendEvent(const SimEvent* event) {
  Host& h = State();
  if (!event || !h.running || !h.execute) return SIM_NOT_RUNNING;
  if (!h.deliverAll) {
    if (!MaskLets(*event, h.mask)) return SIM_MASKED;
    if (event->kind == EVT_PICK && !PickAccepted(*event)) return SIM_FILTERED;
  }
  CheckHandedTexts();
  h.event.data = *event;
  h.event.keyinNull = event->keyin == nullptr;
  h.event.keyin = Utf16(event->keyin);
  h.event.handle = ++h.lastHandle;
  h.inEvent = true;
  int32_t result = h.execute(event->kind, h.event.handle);
  h.inEvent = false;
  if (result != EXEC_NEXT && result != EXEC_STAY && result != EXEC_END) ++h.protocolFaults;
  if (result == EXEC_NEXT) {
    DropPreviews();
    VekReadyProc ready = h.pendingReady;
    h.pendingReady = nullptr;
    VekPoint point = event->hasPoint ? VekPoint{event->x, event->y} : VekPoint{0, 0};
    if (!ready || ready(0, h.readyWithoutPoint ? nullptr : &point) != 0) ++h.protocolFaults;
  } else if (result == EXEC_END) {
    FinishCommand();
  }
  return result;
}

int32_t SimWouldDeliver(const SimEvent* event) {
  Host& h = State();
  if (!event || !h.running || !h.execute) return 0;
  if (h.deliverAll) return 1;
  return MaskLets(*event, h.mask) && (event->kind != EVT_PICK || PickAccepted(*event)) ? 1 : 0;
}

int32_t SimCancelCommand(void) {
  if (!State().running) return SIM_NOT_RUNNING;
  FinishCommand();
  return 0;
}

int32_t SimCommandRunning(void) { return State().running ? 1 : 0; }
void SimDeliverAll(int32_t on) { State().deliverAll = on != 0; }
void SimReadyWithoutPoint(int32_t on) { State().readyWithoutPoint = on != 0; }

const char* SimPrompt(void) {
  Host& h = State();
  h.promptOut = Utf8(h.prompt);
  return h.promptOut.c_str();
}

const char* SimCursorText(void) {
  Host& h = State();
  h.cursorOut = Utf8(h.cursor);
  return h.cursorOut.c_str();
}

int32_t SimErrorCount(void) { return int32_t(State().errors.size()); }

const char* SimError(int32_t index) {
  const std::vector<std::string>& errors = State().errors;
  return index >= 0 && index < int32_t(errors.size()) ? errors[index].c_str() : "";
}

int32_t SimMessageCount(void) { return int32_t(State().messages.size()); }

const char* SimMessage(int32_t index, int32_t* kind) {
  const auto& messages = State().messages;
  bool known = index >= 0 && index < int32_t(messages.size());
  if (kind) *kind = known ? messages[index].first : 0;
  return known ? messages[index].second.c_str() : "";
}

uint32_t SimEventMask(void) { return State().mask; }
void SimGetEcho(VekEcho* out) { *out = State().echo; }

int32_t SimGetFilter(VekObjectFilter* out) {
  Host& h = State();
  if (!h.hasFilter) return -1;
  *out = h.filter;
  return 0;
}

void SimLastNoteRecord(unsigned char out[104]) {
  std::memcpy(out, State().lastRecord, sizeof State().lastRecord);
}

const char* SimFailableCall(int32_t index) {
  static const char* const kCalls[SIM_FAILABLE_CALLS] = {
      "VekEvtGetPoint",      "VekEvtGetElementId",    "VekEvtGetKeyinString",
      "VekEvtIsMouseMotion", "VekElmGetType",         "VekDimGetMeasure",
      "VekDimGetNote",       "VekDimGetMark",         "VekDimGetDecimalPlace",
      "VekAriLen2Pnts",      "VekEnvGetCurrentFrame", "VekEnvSetFrame",
      "VekSgmCreateSegment", "VekSgmDeleteSegment",   "VekCmtCreateNormal",
      "VekCmtSetCharSize",   "VekCmtGetComment",      "VekCmtSetNote"};
  return index >= 0 && index < SIM_FAILABLE_CALLS ? kCalls[index] : nullptr;
}

void SimFailCall(const char* function, int32_t on) {
  if (on)
    State().failing.insert(function);
  else
    State().failing.erase(function);
}

int32_t SimStaleTextCount(void) { return State().staleTexts; }

int32_t SimProtocolFaultCount(void) { return State().protocolFaults; }

int32_t SimJournalSize(void) { return State().journalDropped + int32_t(State().journal.size()); }

int32_t SimJournalFirst(void) { return State().journalDropped; }

const char* SimJournalEntry(int32_t index) {
  Host& h = State();
  index -= h.journalDropped;
  return index >= 0 && index < int32_t(h.journal.size()) ? h.journal[size_t(index)].c_str() : "";
}

void SimJournalClear(void) { ClearJournal(); }

void SimCheckHandedTexts(int32_t on) {
  State().checkHandedTexts = on != 0;
  if (!on) State().handedTexts.clear();
}
void SimSetJournaling(int32_t on) { State().journaling = on != 0; }

} // extern "C"
