// The settings dialog's form without a window: what a new form holds, what
// it stores, and what its OK puts in force (each of the twelve members to
// its own field of the settings record, numbers converted).
#include "SettingsForm.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace {

// Every field of a record as text, by name.
std::map<std::string, std::string> Fields(const SettingsRecord& r) {
  auto number = [](double value) {
    std::ostringstream out;
    out << value;
    return out.str();
  };
  return {{"Round", std::to_string(r.Round)},
          {"Font", std::to_string(r.Font)},
          {"MTitle", utf::ToUtf8(r.MTitle)},
          {"Width", number(r.Width)},
          {"Height", number(r.Height)},
          {"Pitch", number(r.Pitch)},
          {"positionX", number(r.positionX)},
          {"positionY", number(r.positionY)},
          {"FrameDim", std::to_string(r.FrameDim)},
          {"FrameChar", std::to_string(r.FrameChar)},
          {"FrameCmd", std::to_string(r.FrameCmd)},
          {"PreComment", utf::ToUtf8(r.PreComment)}};
}

// A form whose twelve values all differ from a new record's.
void SetBase(SettingsForm& f) {
  f.m_nRound = 1;
  f.m_nFont = 1;
  f.m_strMTitle = u"*";
  f.m_strWidth = u"2";
  f.m_strHeight = u"3";
  f.m_strPitch = u"4";
  f.m_strPositionX = u"5";
  f.m_strPositionY = u"6";
  f.m_nFrameDim = 1;
  f.m_nFrameChar = 2;
  f.m_nFrameCmd = 1;
  f.m_strPreComment = u"P-";
}

struct CopyRow {
  const char* field;
  std::function<void(SettingsForm&)> change;
  std::string value; // the field afterwards
};

void PrintTo(const CopyRow& row, std::ostream* out) { *out << row.field; }

// The texts the form stores, by value name.
std::map<std::string, std::string> StoredTexts(const SettingsForm& form) {
  std::map<std::string, std::string> texts;
  for (const SettingField& field : kSettingFields)
    texts[utf::ToUtf8(field.name)] = utf::ToUtf8(FormSettingText(form, field));
  return texts;
}

} // namespace

TEST(SettingsFormTest, ANewFormHoldsTheNumbersDefaultsAndEmptyTexts) {
  SettingsForm form;
  EXPECT_EQ(form.m_strSubKey, u"TriSpan");
  EXPECT_EQ(form.m_nRound, 4);
  EXPECT_EQ(form.m_nFont, 0);
  EXPECT_EQ(form.m_nFrameDim, 2);
  EXPECT_EQ(form.m_nFrameChar, 1);
  EXPECT_EQ(form.m_nFrameCmd, 2);
  for (const CString* text :
       {&form.m_strMTitle, &form.m_strWidth, &form.m_strHeight, &form.m_strPitch,
        &form.m_strPositionX, &form.m_strPositionY, &form.m_strPreComment})
    EXPECT_EQ(Text(text->c_str()), "");
}

TEST(SettingsFormTest, StoresNumbersInDecimalAndEditTextsAsTyped) {
  SettingsForm form;
  SetBase(form);
  form.m_nRound = 7;
  form.m_nFont = -1;
  form.m_nFrameCmd = -2147483647 - 1;
  form.m_strWidth = u" 3.5mm";
  form.m_strPreComment = u"전 ";
  EXPECT_EQ(StoredTexts(form), (std::map<std::string, std::string>{{"Round", "7"},
                                                                   {"Font", "-1"},
                                                                   {"MTitle", "*"},
                                                                   {"Width", " 3.5mm"},
                                                                   {"Height", "3"},
                                                                   {"Pitch", "4"},
                                                                   {"positionX", "5"},
                                                                   {"positionY", "6"},
                                                                   {"FrameDim", "1"},
                                                                   {"FrameChar", "2"},
                                                                   {"FrameCmd", "-2147483648"},
                                                                   {"PreComment", "전 "}}));
}

TEST(SettingsFormTest, AStoredTextShowsAsTheFormsNumberOrText) {
  SettingsForm form;
  for (const SettingField& field : kSettingFields) ShowSettingText(form, field, u" 12abc");
  EXPECT_EQ(StoredTexts(form), (std::map<std::string, std::string>{{"Round", "12"},
                                                                   {"Font", "12"},
                                                                   {"MTitle", " 12abc"},
                                                                   {"Width", " 12abc"},
                                                                   {"Height", " 12abc"},
                                                                   {"Pitch", " 12abc"},
                                                                   {"positionX", " 12abc"},
                                                                   {"positionY", " 12abc"},
                                                                   {"FrameDim", "12"},
                                                                   {"FrameChar", "12"},
                                                                   {"FrameCmd", "12"},
                                                                   {"PreComment", " 12abc"}}));
}

TEST(SettingsFormTest, EveryMemberReachesItsField) {
  SettingsForm form;
  SetBase(form);
  SettingsRecord record;
  CopyFormTo(form, record);
  EXPECT_EQ(Fields(record), (std::map<std::string, std::string>{
                                {"Round", "1"},
                                {"Font", "1"},
                                {"MTitle", "*"},
                                {"Width", "2"},
                                {"Height", "3"},
                                {"Pitch", "4"},
                                {"positionX", "5"},
                                {"positionY", "6"},
                                {"FrameDim", "1"},
                                {"FrameChar", "2"},
                                {"FrameCmd", "1"},
                                {"PreComment", "P-"},
                            }));
}

class FormCopyRowTest : public testing::TestWithParam<CopyRow> {};

// One member changed at a time: its field follows and no other moves.
TEST_P(FormCopyRowTest, ChangesItsFieldAlone) {
  SettingsForm form;
  SetBase(form);
  SettingsRecord base;
  CopyFormTo(form, base);
  GetParam().change(form);
  SettingsRecord changed;
  CopyFormTo(form, changed);
  std::map<std::string, std::string> expected = Fields(base);
  expected[GetParam().field] = GetParam().value;
  EXPECT_EQ(Fields(changed), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FormCopyRowTest,
    testing::Values(CopyRow{"Round", [](SettingsForm& f) { f.m_nRound = 7; }, "7"},
                    CopyRow{"Font", [](SettingsForm& f) { f.m_nFont = -1; }, "-1"},
                    CopyRow{"MTitle", [](SettingsForm& f) { f.m_strMTitle = u" x "; }, " x "},
                    CopyRow{"Width", [](SettingsForm& f) { f.m_strWidth = u"abc"; }, "0"},
                    CopyRow{"Height", [](SettingsForm& f) { f.m_strHeight = u" 3.5mm"; }, "3.5"},
                    CopyRow{"Pitch", [](SettingsForm& f) { f.m_strPitch = u"-1e1"; }, "-10"},
                    CopyRow{"positionX", [](SettingsForm& f) { f.m_strPositionX = u"+.5"; }, "0.5"},
                    CopyRow{"positionY", [](SettingsForm& f) { f.m_strPositionY = u"-2"; }, "-2"},
                    CopyRow{"FrameDim", [](SettingsForm& f) { f.m_nFrameDim = 0; }, "0"},
                    CopyRow{"FrameChar", [](SettingsForm& f) { f.m_nFrameChar = 9; }, "9"},
                    CopyRow{"FrameCmd", [](SettingsForm& f) { f.m_nFrameCmd = 2; }, "2"},
                    CopyRow{"PreComment", [](SettingsForm& f) { f.m_strPreComment = u""; }, ""}));
