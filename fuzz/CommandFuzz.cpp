// Whole commands in the simulated host, driven by arbitrary sequences of
// events of any kind, point and text, end buttons, host queries that fail,
// settings of any text and settings-dialog actions. Nothing may crash or
// leak, and texts handed to the host must stay valid until the next event.
#include "DialogPlayer.h"
#include "SettingsTable.h"
#include "SimHost.h"
#include "WinStub.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::u16string Text(FuzzedDataProvider& input, size_t longest) {
  std::u16string text;
  size_t length = input.ConsumeIntegralInRange<size_t>(0, longest);
  for (size_t i = 0; i < length; ++i) text.push_back(input.ConsumeIntegral<char16_t>());
  return text;
}

void StoreSettings(FuzzedDataProvider& input) {
  HKEY key = nullptr;
  const std::u16string settingsKey = MakeSettingsKey(kSettingsSubKey);
  RegCreateKeyExW(HKEY_CURRENT_USER, settingsKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  for (int count = input.ConsumeIntegralInRange(0, 4); count > 0; --count) {
    std::u16string text = Text(input, 12);
    RegSetValueExW(key, kSettingFields[input.ConsumeIntegralInRange(0, kSettingCount - 1)].name, 0,
                   REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * 2));
  }
  RegCloseKey(key);
}

std::vector<VekElementId> PlaceDrawing(FuzzedDataProvider& input) {
  std::vector<VekElementId> ids;
  for (int count = input.ConsumeIntegralInRange(0, 5); count > 0; --count) {
    std::string prefix = input.ConsumeRandomLengthString(8),
                suffix = input.ConsumeRandomLengthString(8);
    if (input.ConsumeBool()) prefix = "\x1c!" + prefix;
    SimDimension d{input.ConsumeIntegralInRange(10, 28),
                   input.ConsumeFloatingPoint<double>(),
                   input.ConsumeIntegralInRange(-3, 8),
                   input.ConsumeIntegralInRange(-1, 5),
                   prefix.c_str(),
                   suffix.c_str(),
                   input.ConsumeIntegralInRange(-1, 3)};
    ids.push_back(SimAddDimension(&d));
  }
  for (int count = input.ConsumeIntegralInRange(0, 2); count > 0; --count) {
    SimNote n{input.ConsumeBool() ? VEK_NOTE_KIND_GENERAL : 32, 1, 1, "note", 3, 3, 0, 0, 0};
    ids.push_back(SimAddNote(&n));
  }
  ids.push_back(SimAddElement(SIM_TYPE_LINE));
  return ids;
}

// Any changes to any of the settings' controls, OK or Cancel among them, and
// OK at the end.
void ArmDialog(FuzzedDataProvider& input) {
  struct Action {
    int setting; // kSettingCount: OK or Cancel
    int choice;
    std::u16string text;
  };
  std::vector<Action> actions;
  for (int count = input.ConsumeIntegralInRange(0, 4); count > 0; --count)
    actions.push_back({input.ConsumeIntegralInRange(0, kSettingCount),
                       input.ConsumeIntegralInRange(-1, 5), Text(input, 8)});
  OnNextDialog([=](HWND dialog) {
    for (const Action& action : actions) {
      if (action.setting == kSettingCount) {
        ClickButton(dialog, action.choice % 2 ? IDOK : IDCANCEL);
        continue;
      }
      const DialogControl& control = kSettingFields[action.setting].control;
      switch (control.kind) {
      case ControlKind::List:
        SelectListItem(dialog, control.id, action.choice);
        break;
      case ControlKind::RadioGroup:
        ClickButton(dialog, action.choice % 2 ? control.lastId : control.id);
        break;
      case ControlKind::EditBox:
        TypeText(dialog, control.id, action.text);
        break;
      }
    }
    ClickButton(dialog, IDOK);
  });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
  WinStubSetRegistryFile(nullptr);
  std::string program = (*argv)[0];
  std::string plugin = program.substr(0, program.find_last_of('/') + 1) + "TriSpan.so";
  if (SimLoadPlugin(plugin.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  SimReset();
  WinStubSetRegistryFile(nullptr);
  StoreSettings(input);
  std::vector<VekElementId> ids = PlaceDrawing(input);
  SimDeliverAll(input.ConsumeBool());
  SimReadyWithoutPoint(input.ConsumeBool());
  SimStartCommand();
  for (int steps = 0; steps < 48 && input.remaining_bytes(); ++steps) {
    switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
      SimFailCall(SimFailableCall(input.ConsumeIntegralInRange(0, SIM_FAILABLE_CALLS - 1)),
                  input.ConsumeBool());
      break;
    case 1:
      SimStartCommand();
      break;
    case 2:
      ArmDialog(input);
      [[fallthrough]];
    case 3: {
      SimEvent end{EVT_END, 0, 0, 0, 0, 0, nullptr};
      SimSendEvent(&end);
      CancelNextDialog();
      break;
    }
    default: {
      std::string keyin = input.ConsumeRandomLengthString(16);
      SimEvent event{};
      int32_t kinds[] = {EVT_PICK, EVT_POINT, EVT_FURTHER, EVT_KEYIN, EVT_END, 4, -1};
      event.kind = kinds[input.ConsumeIntegralInRange(0, 6)];
      event.hasPoint = input.ConsumeBool();
      event.x = input.ConsumeFloatingPoint<double>();
      event.y = input.ConsumeFloatingPoint<double>();
      event.element = ids[input.ConsumeIntegralInRange<size_t>(0, ids.size() - 1)];
      event.motion = input.ConsumeBool();
      event.keyin = input.ConsumeBool() ? keyin.c_str() : nullptr;
      SimSendEvent(&event);
    }
    }
  }
  SimCancelCommand();
  SimStartCommand(); // reads the texts the last events handed in
  SimCancelCommand();
  if (SimStaleTextCount() != 0) std::abort();
  return 0;
}
