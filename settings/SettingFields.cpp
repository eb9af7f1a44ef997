#include "Conversions.h"
#include "Settings.h"

const SettingField kSettingFields[SETTING_COUNT] = {
    {u"Round", u"4", &SettingsRecord::Round, nullptr, nullptr},
    {u"Font", u"0", &SettingsRecord::Font, nullptr, nullptr},
    {u"MTitle", u"X", nullptr, nullptr, &SettingsRecord::MTitle},
    {u"Width", u"4", nullptr, &SettingsRecord::Width, nullptr},
    {u"Height", u"4", nullptr, &SettingsRecord::Height, nullptr},
    {u"Pitch", u"0", nullptr, &SettingsRecord::Pitch, nullptr},
    {u"positionX", u"1", nullptr, &SettingsRecord::positionX, nullptr},
    {u"positionY", u"0", nullptr, &SettingsRecord::positionY, nullptr},
    {u"FrameDim", u"2", &SettingsRecord::FrameDim, nullptr, nullptr},
    {u"FrameChar", u"1", &SettingsRecord::FrameChar, nullptr, nullptr},
    {u"FrameCmd", u"2", &SettingsRecord::FrameCmd, nullptr, nullptr},
    {u"PreComment", u"", nullptr, nullptr, &SettingsRecord::PreComment},
};

void StoreSettingText(SettingsRecord& record, const SettingField& field, const CString& text) {
  if (field.integer) record.*field.integer = WideToInt(text);
  if (field.real) record.*field.real = WideToReal(text);
  if (field.text) record.*field.text = text;
}
