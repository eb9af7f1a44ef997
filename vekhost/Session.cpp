#include "Session.h"

#include "Svg.h"

#include <windows.h>
#ifndef _WIN32
#include "WinStub.h"
#endif

#include <algorithm>
#include <cstring>
#include <vector>

namespace vekhost {

namespace {

const char16_t kSettingsKey[] = u"SOFTWARE\\Quorvane\\VEK\\TriSpan";
const char16_t* const kSettingNames[] = {u"Round",    u"Font",      u"MTitle",    u"Width",
                                         u"Height",   u"Pitch",     u"positionX", u"positionY",
                                         u"FrameDim", u"FrameChar", u"FrameCmd",  u"PreComment"};

LPCWSTR Wide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | c >> 6));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xE0 | c >> 12));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

const char* FrameName(int32_t frame) { return frame == FRAME_TITLE ? "the title" : "the figure"; }

const char* Refusal(int32_t result) {
  switch (result) {
  case SIM_MASKED:
    return "(the step does not take this event)";
  case SIM_FILTERED:
    return "(the step's filter does not take that element)";
  case SIM_NOT_RUNNING:
    return "(no command runs: \"start\" runs it again)";
  default:
    return nullptr;
  }
}

} // namespace

Session::Session(const Drawing& drawing, std::ostream& out, bool journal)
    : drawing_(drawing), out_(out), journal_(journal) {}

void Session::Start() {
  out_ << "command 가로x세로x높이 starts\n";
  SimStartCommand();
  Report();
}

void Session::Play(const ScriptEvent& event) {
  out_ << "> " << event.line << "\n";
  if (event.kind == ScriptEvent::Start) {
    if (Running()) Finish();
    Start();
    return;
  }
  SimEvent sim = ToSimEvent(event, drawing_);
  int32_t frame = SimGetCurrentFrame();
  int32_t result = SimSendEvent(&sim);
  Report();
  if (SimGetCurrentFrame() != frame)
    out_ << "  frame: " << FrameName(SimGetCurrentFrame()) << " frame is current\n";
  if (const char* refusal = Refusal(result)) out_ << "  " << refusal << "\n";
  if (result == EXEC_END) out_ << "command ended\n";
}

void Session::Finish() {
  out_ << "the command was still running: it ends here\n";
  SimCancelCommand();
  Report();
}

void Session::Report() {
  for (; callsShown_ < SimJournalSize(); ++callsShown_)
    if (journal_) out_ << "    host: " << SimJournalEntry(callsShown_) << "\n";
  for (; messagesShown_ < SimMessageCount(); ++messagesShown_) {
    int32_t kind = 0;
    std::string text = SimMessage(messagesShown_, &kind);
    const char* label = kind == SIM_MESSAGE_PROMPT  ? "prompt"
                        : kind == SIM_MESSAGE_ERROR ? "error"
                                                    : "cursor";
    out_ << "  " << label << ": " << ReadableText(text) << "\n";
  }
}

void PrintSettings(std::ostream& out) {
#ifdef _WIN32
  out << "settings: HKEY_CURRENT_USER\\" << Narrow(kSettingsKey) << "\n";
#else
  out << "settings: HKEY_CURRENT_USER\\" << Narrow(kSettingsKey) << " in " << WinStubRegistryFile()
      << "\n";
#endif
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    out << "  none stored yet: the first command start writes the defaults\n";
    return;
  }
  for (const char16_t* name : kSettingNames) {
    DWORD type = 0, size = 0;
    out << "  " << Narrow(name) << " = ";
    if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      out << "(missing)\n";
      continue;
    }
    std::vector<char16_t> data(size / 2 + 1, 0);
    RegQueryValueExW(key, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    uint32_t number = 0;
    std::memcpy(&number, data.data(), std::min<size_t>(size, sizeof number));
    if (type == REG_DWORD)
      out << number << " (a number)\n";
    else if (type == REG_SZ || type == REG_EXPAND_SZ)
      out << "\"" << Narrow(std::u16string(data.data())) << "\"\n";
    else
      out << "(of type " << type << ": the default is used)\n";
  }
  RegCloseKey(key);
}

bool ResetSettings() {
  LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, Wide(kSettingsKey));
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace vekhost
