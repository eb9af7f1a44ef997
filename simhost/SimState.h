// The simulated host's state, shared by its host functions and its controls.
#ifndef TRISPAN_SIMHOST_SIMSTATE_H
#define TRISPAN_SIMHOST_SIMSTATE_H

#include "SimHost.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct Dimension {
  int32_t type = 0;
  double measure = 0;
  int32_t decimals = 0;
  int32_t noteResult = 0;
  std::u16string prefix, suffix;
  int32_t mark = 0;
};

struct Note {
  int32_t kind = 0;
  double x = 0, y = 0;
  std::u16string text;
  double height = 0, width = 0, pitch = 0;
  int32_t frame = FRAME_FIGURE;
  int32_t segment = 0; // 0 for a note that belongs to no segment
};

struct Element {
  int32_t type = 0;
  bool isDimension = false;
  Dimension dimension;
  bool isNote = false;
  Note note;
};

struct Segment {
  bool preview = false;
  std::vector<VekElementId> notes;
};

struct Event {
  SimEvent data{};
  std::u16string keyin;
  bool keyinNull = false;
  VekEventHandle handle = 0;
};

struct Host {
  // Registration and the protocol.
  VekCommandProc start = nullptr, query = nullptr, end = nullptr;
  VekExecuteProc execute = nullptr;
  VekReadyProc pendingReady = nullptr;
  VekCompareProc compare = nullptr;
  bool running = false;
  bool deliverAll = false;
  bool readyWithoutPoint = false;
  uint32_t mask = 0;
  bool hasFilter = false;
  VekObjectFilter filter{};
  VekEcho echo{};
  bool inEvent = false;
  Event event;
  VekEventHandle lastHandle = 0;

  // The drawing.
  std::map<VekElementId, Element> elements;
  std::set<VekElementId> notes; // in order of creation
  std::map<int32_t, Segment> segments;
  std::set<int32_t> previewSegments;
  VekElementId previewNote = 0; // the latest preview note, while it stands
  // The plug-in's changes to notes that are no previews: each note's last
  // change, by its number.
  int32_t noteChangeCount = 0;
  std::map<int32_t, VekElementId> noteChanges;
  std::map<VekElementId, int32_t> lastNoteChange;
  VekElementId nextElement = 1;
  int32_t nextSegment = 1;
  int32_t frame = FRAME_FIGURE;

  // What the plug-in showed.
  std::u16string prompt, cursor;
  std::vector<std::string> errors;
  std::vector<std::pair<int32_t, std::string>> messages;
  unsigned char lastRecord[sizeof(VekNoteRecord)] = {};
  // The texts handed in since the last event, with what they said.
  std::vector<std::pair<const VekChar*, std::u16string>> handedTexts;
  int32_t staleTexts = 0;
  int32_t protocolFaults = 0;

  // Failures and the journal.
  std::set<std::string> failing;
  std::deque<std::string> journal; // the latest kJournalKept entries
  int32_t journalDropped = 0;      // entries dropped from its front
  bool journaling = true;
  bool checkHandedTexts = true; // keep a copy of every handed-in text
  std::map<const void*, std::string> callbackNames;
  std::map<std::string, int> callbackCounts;

  // The loaded plug-in.
  void* library = nullptr;
  std::string lastError;
  // Texts handed out by the controls, valid until they are asked again.
  std::string promptOut, cursorOut;
  std::map<VekElementId, std::string> noteTextOut;
};

Host& State();
bool Failing(const char* function);
void Journal(const std::string& entry);
// Whether calls are journaled now: the callers format their entries only then.
bool Journaling();
void ClearJournal();
// Removes every preview note: a step ended.
void DropPreviews();
// Removes a segment with its notes.
void DropSegment(int32_t segment);
// A note that is no preview was created, changed or deleted.
void NoteChanged(VekElementId id);
// Whether a note belongs to a preview segment.
bool IsPreview(const Note& note);
// Remembers a text the plug-in handed in, to read it again later.
void RememberHandedText(const VekChar* text);
// Reads the remembered texts again, counting those that changed.
void CheckHandedTexts();

// Journal formatting.
std::string Utf8(const std::u16string& text);
std::u16string Utf16(const char* text);
std::string Quote(const VekChar* text);
std::string Number(double value);
std::string Hex(uint32_t value);
std::string CallbackName(const void* callback, const char* role);

} // namespace sim

#endif
