#include "Session.h"

#include "DialogForm.h"
#include "DialogPlayer.h"
#include "Interrupt.h"
#include "Language.h"
#include "Results.h"
#include "StoredSettings.h"

namespace vekhost {

namespace {

// What the host answers an event the plug-in does not take: a code that
// stays the same for those who read the state, and the session log's line.
struct Refusal {
  int32_t result;
  const char* code;
  const char* text;
};

constexpr Refusal kRefusals[] = {
    {SIM_MASKED, "masked", N_("(the step does not take this event)")},
    {SIM_FILTERED, "filtered", N_("(the step's filter does not take that element)")},
    {SIM_NOT_RUNNING, "not-running", N_("(no command runs: \"start\" runs it again)")},
};

const Refusal* FindRefusal(int32_t result) {
  for (const Refusal& r : kRefusals)
    if (r.result == result) return &r;
  return nullptr;
}

} // namespace

std::optional<ScriptEvent> ScriptSource::Next() {
  if (next_ >= events_.size() || Interrupted()) return std::nullopt;
  return events_[next_++];
}

Session::Session(const Drawing& drawing, std::ostream& out, bool journal)
    : drawing_(drawing), out_(out), journal_(journal), failedSavesShown_(FailedSaves()),
      notes_(drawing) {}

void Session::Start() {
  out_ << Tr("command 가로x세로x높이 starts") << "\n";
  SimStartCommand();
  Report();
}

void Session::Run(EventSource& source) {
  while (std::optional<ScriptEvent> event = source.Next()) Play(*event, source);
}

void Session::Finish() {
  out_ << Tr("the command was still running: it ends here") << "\n";
  SimCancelCommand();
  Report();
}

void Session::Play(const ScriptEvent& event, EventSource& source) {
  motionUnshown_ = event.kind == ScriptEvent::Motion && !source.ShowsMotions();
  if (source.Echoes() && !motionUnshown_) out_ << "> " << event.line << "\n";
  refused_ = "";
  switch (event.kind) {
  case ScriptEvent::Start:
    if (Running()) Finish();
    Start();
    return;
  case ScriptEvent::Dialog:
  case ScriptEvent::Show:
    out_ << "  " << Tr("(no dialog is open: the end button at the width step opens it)") << "\n";
    return;
  case ScriptEvent::Names:
    ListNames();
    return;
  default:
    Send(event, source);
  }
}

void Session::Send(const ScriptEvent& event, EventSource& source) {
  SimEvent sim = ToSimEvent(event, drawing_);
  int32_t frame = SimGetCurrentFrame();
  bool atWidthStep = Running() && SimEventMask() == VEK_MASK_WIDTH;
  bool dialogShown = false;
  dialogConfirmed_ = false;
  int failedSaves = FailedSaves();
  if (event.kind == ScriptEvent::End)
    OnNextDialog([&](HWND dialog) {
      dialogShown = true;
      PlayDialog(dialog, source);
    });
  int32_t result = SimSendEvent(&sim);
  CancelNextDialog();
  FlushSettings();
  // The plug-in saves the settings once the dialog has closed.
  if (dialogShown)
    ReportDialogClosed(failedSaves);
  else if (event.kind == ScriptEvent::End && atWidthStep && result == EXEC_STAY)
    out_ << "  " << Tr("the settings dialog could not be shown (no display?): nothing changed")
         << "\n";
  Report();
  if (SimGetCurrentFrame() != frame)
    out_ << "  "
         << Tr(SimGetCurrentFrame() == FRAME_TITLE ? "frame: the title frame is current"
                                                   : "frame: the figure frame is current")
         << "\n";
  if (const Refusal* refusal = FindRefusal(result)) {
    refused_ = refusal->code;
    out_ << "  " << Tr(refusal->text) << "\n";
  }
  if (result == EXEC_END) out_ << Tr("command ended") << "\n";
}

void Session::ReportDialogClosed(int failedSavesBefore) {
  if (!dialogConfirmed_)
    out_ << "  " << Tr("dialog closed: Cancel") << "\n";
  else if (FailedSaves() == failedSavesBefore)
    out_ << "  " << Tr("dialog closed: OK, settings saved") << "\n";
  else
    out_ << "  " << Tr("dialog closed: OK, the settings are in force but could not be stored")
         << "\n";
}

void Session::PlayDialog(HWND dialog, EventSource& source) {
  openDialog_ = dialog;
  struct Closed {
    HWND& dialog;
    ~Closed() { dialog = nullptr; }
  } closed{openDialog_};
  ShowDialogForm(dialog, out_);
  // Open until OK or Cancel, as a modal dialog is; the end of the events
  // closes it as the close box does.
  while (std::optional<ScriptEvent> event = source.Next()) {
    if (source.Echoes()) out_ << "> " << event->line << "\n";
    if (event->kind == ScriptEvent::Show) {
      ShowDialogForm(dialog, out_);
      continue;
    }
    if (event->kind != ScriptEvent::Dialog) {
      out_ << "  "
           << Tr("(the settings dialog is open: dialog click ok or dialog click cancel closes it)")
           << "\n";
      continue;
    }
    PlayDialogAction(dialog, *event);
    if (event->action == "click" && (event->control == IDOK || event->control == IDCANCEL)) {
      dialogConfirmed_ = event->control == IDOK;
      return;
    }
  }
}

void Session::ListNames() {
  for (const Dimension& d : drawing_.dimensions)
    out_ << "  " << d.name << ": "
         << Fill(Tr(d.mark == VEK_DIM_MARK_DIAMETER ? "dimension (type {}), measure {}, a diameter"
                                                    : "dimension (type {}), measure {}"),
                 {std::to_string(d.type), NumberText(d.measure)})
         << "\n";
  for (const Note& n : drawing_.notes)
    out_ << "  " << n.name << ": " << Tr(n.kind == VEK_NOTE_KIND_GENERAL ? "general note" : "note")
         << " \"" << ReadableText(n.text) << "\"\n";
  for (const Element& e : drawing_.elements)
    out_ << "  " << e.name << ": "
         << Fill(Tr("element of type {} (not a dimension)"), {std::to_string(e.type)}) << "\n";
}

void Session::ReportNotes() {
  for (VekElementId id : notes_.Update()) {
    auto written = notes_.Written().find(id);
    if (written == notes_.Written().end()) continue;
    std::string shown = NoteLine(written->second);
    if (notesShown_.insert(shown).second)
      out_ << "  " << Tr("note written:") << " " << shown << "\n";
  }
  if (motionUnshown_) return;
  if (std::optional<ResultNote> preview = PreviewNote())
    out_ << "  "
         << Fill(
                Tr("preview: {} at {}, {}"),
                {ReadableText(preview->text), NumberText(preview->at.x), NumberText(preview->at.y)})
         << "\n";
}

void Session::Report() {
  FlushSettings();
  if (FailedSaves() > failedSavesShown_) {
    failedSavesShown_ = FailedSaves();
    settingsLost_ = true;
    out_ << "  " << Tr("settings could not be stored:") << " " << SaveError() << "\n";
  }
  for (; callsShown_ < SimJournalSize(); ++callsShown_)
    if (journal_) out_ << "    host: " << SimJournalEntry(callsShown_) << "\n";
  for (; messagesShown_ < SimMessageCount(); ++messagesShown_) {
    int32_t kind = 0;
    std::string text = SimMessage(messagesShown_, &kind);
    const char* label = kind == SIM_MESSAGE_PROMPT  ? N_("prompt:")
                        : kind == SIM_MESSAGE_ERROR ? N_("error:")
                                                    : N_("cursor:");
    out_ << "  " << Tr(label) << " " << ReadableText(text) << "\n";
  }
  ReportNotes();
}

} // namespace vekhost
