// VekLib.h: the host CAD program's library, as TriSpan uses it.
//
// The host loads the plug-in, calls its export Startup and from then on drives
// it through callbacks. Every contact with the drawing and the user goes
// through the functions below. C linkage, the platform's default calling
// convention, x64 only; all text is UTF-16 and NUL-terminated.
//
// A command is a chain of steps. A step is a ready function and an execute
// function: the ready function sets the event mask, the object filter and the
// echo, puts the prompt and installs the execute function; the host then calls
// the execute function for each user event the mask lets through. The execute
// function answers EXEC_NEXT (a ready function was installed: the host calls
// it before the next event), EXEC_STAY (keep waiting here) or EXEC_END (the
// command is over: the host calls the end callback).
#ifndef TRISPAN_HOST_VEKLIB_H
#define TRISPAN_HOST_VEKLIB_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(VEKLIB_BUILDING)
#define VEKAPI __declspec(dllexport)
#else
#define VEKAPI __declspec(dllimport)
#endif
#elif defined(VEKLIB_BUILDING)
#define VEKAPI __attribute__((visibility("default")))
#else
#define VEKAPI
#endif

extern "C" {

// ---------------------------------------------------------------- types

typedef char16_t VekChar;        // one UTF-16 unit (the bits of Windows wchar_t)
typedef int32_t VekElementId;    // an element of the drawing
typedef intptr_t VekEventHandle; // the event being handled, opaque

typedef struct VekPoint {
  double x, y;
} VekPoint;

// Limits picks to matching elements: v[0] element class, v[2] sub-type mask.
typedef struct VekObjectFilter {
  int32_t v[5];
} VekObjectFilter;

// Feedback the host draws while the cursor moves, anchored at (x, y).
typedef struct VekEcho {
  int32_t kind;
  int32_t unused;
  double x, y;
} VekEcho;

typedef struct VekCharSize {
  double height, width, pitch;
} VekCharSize;

// A note as the host creates it and reads it back. The reserved fields are
// the host's; a plug-in sends them with the values of the VEK_NOTE_ constants.
typedef struct VekNoteRecord {
  int32_t kind;         // VEK_NOTE_KIND_NEW when creating; VEK_NOTE_KIND_GENERAL read back
  int32_t padding4;     //
  double x, y;          // position
  int32_t reserved24;   // 0
  int32_t reserved28;   // 0
  int32_t reserved32;   // 0
  int32_t padding36;    //
  const VekChar* text;  // the note's text
  double reserved48;    // 0.0
  int32_t reserved56;   // 0
  int32_t reserved60;   // VEK_NOTE_RESERVED60
  double charHeight;    //
  double charWidth;     //
  double charPitch;     //
  double reserved88;    // 0.0
  uint8_t reserved96;   // VEK_NOTE_RESERVED96
  uint8_t padding97[3]; //
  int32_t reserved100;  // VEK_NOTE_RESERVED100
} VekNoteRecord;

// ------------------------------------------------------------ callbacks

typedef int32_t (*VekCommandProc)(void);                                // start, query, end
typedef int32_t (*VekReadyProc)(int32_t unused, VekPoint* point);       // returns 0
typedef int32_t (*VekExecuteProc)(int32_t kind, VekEventHandle handle); // EXEC_*
typedef int32_t (*VekCompareProc)(VekElementId element);                // 1 accepts, 0 rejects

// ------------------------------------------------------------ constants

enum VekEventKind {
  EVT_PICK = 1,    // an element picked through the filter; carries a position
  EVT_POINT = 2,   // a data point, possibly on an element
  EVT_FURTHER = 3, // a further position event
  EVT_KEYIN = 5,   // typed text
  EVT_END = 7,     // the end button
};

enum VekExecuteResult {
  EXEC_END = 0,  // the command is over
  EXEC_NEXT = 2, // the next step's ready function was installed
  EXEC_STAY = 3, // keep waiting at this step
};

enum VekFrame {
  FRAME_FIGURE = 1,
  FRAME_TITLE = 2,
};

// Event mask bits (VekEvtSetEventMask): which events reach the execute
// function, as far as the plug-in relies on them. The end button always does.
enum VekEventMaskBit : uint32_t {
  VEK_EVENTS_COMPARED_PICKS = 0x01000000, // picks the compare function accepts (and the
                                          // object filter, when one is set)
  VEK_EVENTS_MOTION = 0x00040000,         // cursor motion and the further position event
  VEK_EVENTS_DATA_POINTS = 0x00020000,    // data points, on an element or on none
  VEK_EVENTS_KEYINS = 0x00001000,         // typed text
  VEK_EVENTS_FILTERED_PICKS = 0x00000800, // picks the object filter accepts, without the
                                          // compare function
};

// The masks of the command's steps.
enum VekEventMask : uint32_t {
  // The width pick (0x1001000): picks through FilterDimension, and key-ins.
  VEK_MASK_WIDTH = VEK_EVENTS_COMPARED_PICKS | VEK_EVENTS_KEYINS,
  // The length and height (0x1021000): also data points, the start of two points.
  VEK_MASK_PICK_STEP = VEK_MASK_WIDTH | VEK_EVENTS_DATA_POINTS,
  // The second of two points (0x20000): data points alone.
  VEK_MASK_DATA_POINT = VEK_EVENTS_DATA_POINTS,
  // The note step (0x60800): the cursor, data points and picks of notes.
  VEK_MASK_NOTE = VEK_EVENTS_MOTION | VEK_EVENTS_DATA_POINTS | VEK_EVENTS_FILTERED_PICKS,
};

// Element types: the dimensions are 12 to 15, 17 and 22 to 26.
enum {
  VEK_DIMENSION_TYPES = 0x7c2f000, // bit n set for dimension type n
  VEK_MAX_DIMENSION_TYPE = 26,
  VEK_DIMENSION_SUBTYPES = 0x7c2f, // the same set, bit n for type 12 + n
};

// Object filter records.
enum {
  VEK_FILTER_CLASS_DIMENSION = 4, // {4, 0, VEK_DIMENSION_SUBTYPES, 0, 0}
  VEK_FILTER_CLASS_NOTE = 8,      // {8, 0, 0, VEK_FILTER_ALL_NOTES, 0}
  VEK_FILTER_ALL_NOTES = 1,
};

enum {
  VEK_ECHO_LINE = 1, // a line from the anchor to the cursor
  VEK_ECHO_NOTE = 4, // the note following the cursor
};

// VekDimGetNote: which texts surround the value. Any other result means the
// prefix text replaces the value.
enum {
  VEK_DIM_NOTE_NONE = 0,
  VEK_DIM_NOTE_PREFIX = 1,
  VEK_DIM_NOTE_SUFFIX = 2,
  VEK_DIM_NOTE_BOTH = 3,
  VEK_DIM_NOTE_UNITS = 104,  // size of each text buffer, in UTF-16 units
  VEK_DIM_MARK_DIAMETER = 2, // VekDimGetMark: the dimension is a diameter
};

// Notes.
enum {
  VEK_NOTE_KIND_NEW = 32,     // kind given when creating a note
  VEK_NOTE_KIND_GENERAL = 33, // kind of a general note read back
  VEK_NOTE_RESERVED60 = 3,
  VEK_NOTE_RESERVED96 = 1,
  VEK_NOTE_RESERVED100 = 10,
  VEK_COMMENT_BUFFER_BYTES = 288, // buffer for VekCmtGetComment
  VEK_SEGMENT_KIND = 2,           // first argument of VekSgmCreateSegment
  VEK_SEGMENT_PREVIEW = 2,        // second argument: a preview that vanishes
  VEK_SEGMENT_KEEP = 0,           // second argument: a note that stays
};

enum { VEK_FAILED = -1 }; // the failure result of the queries below

// ------------------------------------------------------------ functions

// Registers the command's start, query and end callbacks. Above 0: registered.
VEKAPI int32_t VekCtlRegisterVekLib2(VekCommandProc start, VekCommandProc query,
                                     VekCommandProc end);
// Installs the next step's ready function; format describes further
// arguments ("" for none). Returns 0.
VEKAPI int32_t VekCtlSetReadyFunc(VekReadyProc ready, const char* format, ...);
// Installs the execute function for the events to come; format ("" or
// "%f %f") describes the values that follow it. Returns 0.
VEKAPI int32_t VekCtlSetExecuteFunc(VekExecuteProc execute, const char* format, ...);

// Sets which events reach the execute function; the end button always does.
VEKAPI int32_t VekEvtSetEventMask(uint32_t mask);
// Limits picks to elements matching the filter record.
VEKAPI int32_t VekEvtSetObject(const VekObjectFilter* filter);
// Sets the function that accepts (1) or rejects (0) an element for a pick.
VEKAPI int32_t VekEvtSetCompareFunction(VekCompareProc compare);
// Sets the feedback drawn at the cursor.
VEKAPI int32_t VekEvtSetEcho(const VekEcho* echo);
// Clears the host's selection.
VEKAPI int32_t VekIddClearSysIdData(void);

// The event's position: 0 and *out filled when it carries one, else non-zero.
VEKAPI int32_t VekEvtGetPoint(int32_t kind, VekEventHandle handle, VekPoint* out);
// The element picked or under the point; 0 for none.
VEKAPI VekElementId VekEvtGetElementId(int32_t kind, VekEventHandle handle);
// The typed text, host-owned and valid during the event; may be null.
VEKAPI const VekChar* VekEvtGetKeyinString(int32_t kind, VekEventHandle handle);
// Non-zero in its low byte when the event is a cursor motion.
VEKAPI int32_t VekEvtIsMouseMotion(int32_t kind, VekEventHandle handle);

// Puts the prompt, an error line, or the text at the cursor. Return 0.
VEKAPI int32_t VekMsgPutMessage(const VekChar* text);
VEKAPI int32_t VekMsgPutErrorMessage(const VekChar* text);
VEKAPI int32_t VekMsgPutCursorMessage(const VekChar* text);

// The element's type (compare unsigned); -1 when there is no such element.
VEKAPI int32_t VekElmGetType(VekElementId element);
// The dimension's measure into *out; -1 on failure.
VEKAPI int32_t VekDimGetMeasure(VekElementId element, double* out);
// The dimension's prefix and suffix texts into two buffers of
// VEK_DIM_NOTE_UNITS units; VEK_DIM_NOTE_* or another value, -1 on failure.
VEKAPI int32_t VekDimGetNote(VekElementId element, VekChar* prefix, VekChar* suffix);
// The dimension's mark (VEK_DIM_MARK_DIAMETER for a diameter); -1 on failure.
VEKAPI int32_t VekDimGetMark(VekElementId element);
// The decimal places the dimension shows, taken as it comes.
VEKAPI int32_t VekDimGetDecimalPlace(VekElementId element);
// The distance between two points.
VEKAPI double VekAriLen2Pnts(const VekPoint* a, const VekPoint* b);

// The current frame (FRAME_*).
VEKAPI int32_t VekEnvGetCurrentFrame(void);
// Makes a frame current; 0 when done, -1 for an unknown frame.
VEKAPI int32_t VekEnvSetFrame(int32_t frame);

// Creates a segment for new notes (VEK_SEGMENT_*); -1 on failure.
VEKAPI int32_t VekSgmCreateSegment(int32_t kind, int32_t mode);
// Deletes a segment with its notes; -1 for an unknown segment.
VEKAPI int32_t VekSgmDeleteSegment(int32_t segment);
// Creates a note in the segment from the record (the host copies the text);
// the new note, or -1 on failure.
VEKAPI VekElementId VekCmtCreateNormal(int32_t segment, const VekNoteRecord* record);
// Sets a note's character size; -1 when the element is no note.
VEKAPI int32_t VekCmtSetCharSize(VekElementId element, const VekCharSize* size);
// Reads a note into a VEK_COMMENT_BUFFER_BYTES buffer that starts with a
// VekNoteRecord; -1 when the element is no note.
VEKAPI int32_t VekCmtGetComment(VekElementId element, void* record);
// Replaces a note's text (zero is 0); -1 when the element is no note.
VEKAPI int32_t VekCmtSetNote(VekElementId element, int32_t zero, const VekChar* text);

// ------------------------------------------------------------ plug-in export

#if defined(_WIN32)
#define VEK_PLUGIN_EXPORT // exported by name through the module definition file
#else
#define VEK_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

// The plug-in's one export, called once after the host loaded it: registers
// the command; 0 when registered, -1 when not.
VEK_PLUGIN_EXPORT int32_t Startup(void);
typedef int32_t (*VekStartupProc)(void);

} // extern "C"

static_assert(VEK_MASK_WIDTH == 0x1001000 && VEK_MASK_PICK_STEP == 0x1021000 &&
                  VEK_MASK_DATA_POINT == 0x20000 && VEK_MASK_NOTE == 0x60800,
              "the steps' event masks");
static_assert(sizeof(VekChar) == 2, "UTF-16 unit");
static_assert(sizeof(VekObjectFilter) == 20, "filter record");
static_assert(sizeof(VekEcho) == 24 && offsetof(VekEcho, x) == 8, "echo record");
static_assert(sizeof(VekCharSize) == 24, "character size record");
static_assert(sizeof(VekNoteRecord) == 104, "note record");
static_assert(offsetof(VekNoteRecord, x) == 8 && offsetof(VekNoteRecord, y) == 16, "note position");
static_assert(offsetof(VekNoteRecord, reserved24) == 24 &&
                  offsetof(VekNoteRecord, reserved28) == 28 &&
                  offsetof(VekNoteRecord, reserved32) == 32,
              "note reserved integers");
static_assert(offsetof(VekNoteRecord, text) == 40, "note text pointer");
static_assert(offsetof(VekNoteRecord, reserved48) == 48 &&
                  offsetof(VekNoteRecord, reserved56) == 56 &&
                  offsetof(VekNoteRecord, reserved60) == 60,
              "note reserved fields");
static_assert(offsetof(VekNoteRecord, charHeight) == 64 &&
                  offsetof(VekNoteRecord, charWidth) == 72 &&
                  offsetof(VekNoteRecord, charPitch) == 80,
              "note character size");
static_assert(offsetof(VekNoteRecord, reserved88) == 88 &&
                  offsetof(VekNoteRecord, reserved96) == 96 &&
                  offsetof(VekNoteRecord, reserved100) == 100,
              "note trailing reserved fields");

#endif
