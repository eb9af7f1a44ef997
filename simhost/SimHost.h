// The simulated host: VekLib.dll (libVekLib.so on Linux) implementing every
// function of VekLib.h over an in-memory drawing, plus the controls below,
// with which vekhost and the tests load the plug-in, build a drawing, play
// events and read back what the plug-in did.
//
// The protocol. SimStartCommand asks the query callback, then runs the start
// callback. Each SimSendEvent that the event mask lets through goes to the
// installed execute function as (kind, handle). Its result: EXEC_NEXT, the
// pending ready function is called with (0, the event's point) and installs
// the next execute function; EXEC_STAY, nothing; EXEC_END, the end callback
// runs and the command is over. Preview notes vanish when another preview
// replaces them and whenever a step ends (EXEC_NEXT or EXEC_END).
//
// Event mask bits (VekEvtSetEventMask, the VEK_EVENTS_ bits of VekLib.h);
// the end button always arrives:
//   VEK_EVENTS_COMPARED_PICKS  picks of elements that the compare function
//                              accepts and that match the object filter, when
//                              one is set
//   VEK_EVENTS_DATA_POINTS     data points (EVT_POINT), on an element or not
//   VEK_EVENTS_MOTION          cursor motion and the further position event
//   VEK_EVENTS_KEYINS          key-ins (EVT_KEYIN)
//   VEK_EVENTS_FILTERED_PICKS  picks of elements that match the object
//                              filter; the compare function is not asked
// Object filter (VekEvtSetObject): v[0] = 4 dimensions, whose type is 12 + n
// for a set bit n of v[2] (v[2] = 0: any); v[0] = 8 notes, every kind when
// v[3] = 1, general notes alone otherwise. A command starts with no mask,
// filter, compare function or echo.
//
// Failures: SimFailCall makes a host function fail from then on: the int
// functions return -1 (VekCtlRegisterVekLib2 returns 0; VekDimGetDecimalPlace
// too, though the contract gives it no failure value: the plug-in takes any
// number as it comes), VekEvtGetKeyinString returns null and VekAriLen2Pnts
// returns -1.0.
//
// Registration: a second VekCtlRegisterVekLib2 is accepted and replaces the
// first one's callbacks (the tests that link the plug-in register it anew).
//
// Every call the plug-in makes is journaled, one line each:
//   Name(arguments) = result
// Texts are quoted UTF-8 with control and private-use characters as \uXXXX;
// callbacks are named by role and order of first appearance since the
// journal was last cleared (exec#1, ready#2, compare#1; start, query, end).
#ifndef TRISPAN_SIMHOST_SIMHOST_H
#define TRISPAN_SIMHOST_SIMHOST_H

#include "VekLib.h"

#if defined(_WIN32)
#if defined(VEKLIB_BUILDING)
#define SIMAPI __declspec(dllexport)
#else
#define SIMAPI __declspec(dllimport)
#endif
#elif defined(VEKLIB_BUILDING)
#define SIMAPI __attribute__((visibility("default")))
#else
#define SIMAPI
#endif

extern "C" {

// Results of the controls besides the plug-in's own.
enum {
  SIM_LOAD_FAILED = -100, // the library or its Startup was not found
  SIM_NOT_RUNNING = -101, // no command runs to take the event
  SIM_MASKED = -102,      // the event mask kept the event back
  SIM_FILTERED = -103,    // the filter or the compare function refused the pick
  SIM_REFUSED = -104,     // the query callback said no
};

// Element types of the simulated drawing besides the dimensions (12 to 15,
// 17, 22 to 26).
enum { SIM_TYPE_LINE = 1, SIM_TYPE_NOTE = 7 };

// ---------------------------------------------------------------- plug-in

// Loads the plug-in as the host does and calls its Startup: Startup's
// result, or SIM_LOAD_FAILED (SimLastError says why).
SIMAPI int32_t SimLoadPlugin(const char* path);
// Unloads it; its callbacks are forgotten.
SIMAPI void SimUnloadPlugin(void);
SIMAPI const char* SimLastError(void);

// ---------------------------------------------------------------- drawing

// Empties the drawing (frame back to FRAME_FIGURE), the journal, the
// messages and the failures; the registration and a running command stay.
SIMAPI void SimReset(void);

typedef struct SimDimension {
  int32_t type; // 12 to 15, 17, 22 to 26
  double measure;
  int32_t decimals;   // VekDimGetDecimalPlace
  int32_t noteResult; // VekDimGetNote's result
  const char* prefix; // UTF-8, may be null; from 104 units on filled without NUL
  const char* suffix; // UTF-8, may be null
  int32_t mark;       // VekDimGetMark
} SimDimension;
SIMAPI VekElementId SimAddDimension(const SimDimension* dimension);

typedef struct SimNote {
  int32_t kind; // VEK_NOTE_KIND_GENERAL for a general note
  double x, y;
  const char* text; // UTF-8
  double height, width, pitch;
  int32_t frame;   // FRAME_* it belongs to
  int32_t preview; // 1 while it is a preview
} SimNote;
// Adds a note to the current frame (preview ignored).
SIMAPI VekElementId SimAddNote(const SimNote* note);
// Adds an element of another type.
SIMAPI VekElementId SimAddElement(int32_t type);
// The notes now in the drawing, previews included, in order of creation:
// their number; up to capacity ids go to ids.
SIMAPI int32_t SimListNotes(VekElementId* ids, int32_t capacity);
// A note's state; text stays valid until the drawing changes. -1 for no note.
SIMAPI int32_t SimGetNote(VekElementId id, SimNote* out);
// The plug-in's changes to notes that are no previews, for a caller that
// keeps its own view of the notes: every creation, change of text or size,
// and deletion counts one. The count now; and the notes changed after
// `since`, each once in the order of its last change (a deleted one no
// longer has a SimGetNote), up to capacity: their number.
SIMAPI int32_t SimNoteChangeCount(void);
SIMAPI int32_t SimChangedNotes(int32_t since, VekElementId* ids, int32_t capacity);
// The preview note while there is one, else 0.
SIMAPI VekElementId SimPreviewNote(void);
SIMAPI void SimSetCurrentFrame(int32_t frame);
SIMAPI int32_t SimGetCurrentFrame(void);

// ---------------------------------------------------------------- events

typedef struct SimEvent {
  int32_t kind;     // EVT_* or any other number
  int32_t hasPoint; // 1 when the event carries (x, y)
  double x, y;
  VekElementId element; // picked or under the point; 0 for none
  int32_t motion;       // 1 for a cursor motion
  const char* keyin;    // UTF-8 typed text; null gives a null text
} SimEvent;

// Asks the query callback and starts the command: the start callback's
// result, SIM_REFUSED or SIM_NOT_RUNNING (nothing registered).
SIMAPI int32_t SimStartCommand(void);
// Plays one event: the execute function's result, or SIM_NOT_RUNNING,
// SIM_MASKED or SIM_FILTERED when it did not reach the plug-in.
SIMAPI int32_t SimSendEvent(const SimEvent* event);
// 1 when the event would reach the plug-in now: a command runs, the mask
// lets it through and, for a pick, the filter and the compare function take
// the element (the compare function is called, as the host calls it while
// the cursor moves over elements); 0 otherwise.
SIMAPI int32_t SimWouldDeliver(const SimEvent* event);
// Ends the running command from the host's side (the end callback runs), as
// when the user starts another command; 0, or SIM_NOT_RUNNING.
SIMAPI int32_t SimCancelCommand(void);
// 1 while a command runs.
SIMAPI int32_t SimCommandRunning(void);
// 1: every event reaches the plug-in whatever the mask and filters say.
SIMAPI void SimDeliverAll(int32_t on);
// 1: ready functions are called with a null point.
SIMAPI void SimReadyWithoutPoint(int32_t on);

// What the plug-in put up last: the prompt, the cursor text ("" for none).
SIMAPI const char* SimPrompt(void);
SIMAPI const char* SimCursorText(void);
// The error lines since SimReset: their number, and each (UTF-8).
SIMAPI int32_t SimErrorCount(void);
SIMAPI const char* SimError(int32_t index);
// Every prompt, error line and cursor text in the order the plug-in put
// them since SimReset: their number, and each with its kind.
enum { SIM_MESSAGE_PROMPT = 1, SIM_MESSAGE_ERROR = 2, SIM_MESSAGE_CURSOR = 3 };
SIMAPI int32_t SimMessageCount(void);
SIMAPI const char* SimMessage(int32_t index, int32_t* kind);
SIMAPI uint32_t SimEventMask(void);
SIMAPI void SimGetEcho(VekEcho* out);
// 0 and the filter when one is set, -1 when none.
SIMAPI int32_t SimGetFilter(VekObjectFilter* out);
// The last note record given to VekCmtCreateNormal, byte for byte.
SIMAPI void SimLastNoteRecord(unsigned char out[104]);

// Texts the plug-in handed to VekCmtCreateNormal and VekCmtSetNote are read
// again when the next event or command start arrives: a plug-in must keep
// them valid until then. The number found changed since SimReset.
SIMAPI int32_t SimStaleTextCount(void);
// 0: handed-in texts are no longer copied and checked (for long runs); 1:
// again. SimReset turns the check on.
SIMAPI void SimCheckHandedTexts(int32_t on);

// Breaches of the ready/execute protocol since SimReset: an execute result
// other than EXEC_END, EXEC_NEXT and EXEC_STAY; EXEC_NEXT with no ready
// function installed; a ready function that returned anything but 0.
SIMAPI int32_t SimProtocolFaultCount(void);

// ---------------------------------------------------------------- failures

// The named host function fails from now on (on != 0) or works again.
SIMAPI void SimFailCall(const char* function, int32_t on);

// The host functions the plug-in queries that SimFailCall can make fail, by
// index from 0 (SIM_FAILABLE_CALLS of them); null for any other index.
#define SIM_FAILABLE_CALLS 18
SIMAPI const char* SimFailableCall(int32_t index);

// ---------------------------------------------------------------- journal

// The journal keeps the latest SIM_JOURNAL_KEPT entries; their indices stay
// as they were. How many entries there were since it was cleared, the index
// of the oldest kept, and an entry (valid until the journal changes; "" for
// one dropped or out of range).
#define SIM_JOURNAL_KEPT 10000
SIMAPI int32_t SimJournalSize(void);
SIMAPI int32_t SimJournalFirst(void);
SIMAPI const char* SimJournalEntry(int32_t index);
SIMAPI void SimJournalClear(void);
// 0: calls are no longer journaled, nor their entries formatted (for long
// runs); 1: again. SimReset turns it on.
SIMAPI void SimSetJournaling(int32_t on);

} // extern "C"

#endif
