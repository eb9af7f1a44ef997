// The settings table alone: every row whole, and the lookups by registry
// name and by control.
#include "SettingsTable.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <set>

// The table's rows are whole: each names one record field of its kind and
// one control of its own.
TEST(SettingsTableTest, EveryRowIsWhole) {
  std::set<int> controls;
  std::set<std::u16string> names;
  for (const SettingField& s : kSettingFields) {
    SCOPED_TRACE(Text(s.name));
    EXPECT_TRUE(names.insert(s.name).second) << "a second row of this name";
    int fields =
        (s.field.integer != nullptr) + (s.field.real != nullptr) + (s.field.text != nullptr);
    EXPECT_EQ(fields, 1);
    EXPECT_EQ(s.field.integer != nullptr, s.field.kind == SettingKind::Integer);
    EXPECT_EQ(s.field.real != nullptr, s.field.kind == SettingKind::Real);
    const DialogControl& c = s.control;
    for (int id = c.id; id <= c.lastId; ++id)
      EXPECT_TRUE(controls.insert(id).second) << "control " << id << " shows a second setting";
    EXPECT_EQ(c.choiceCount > 0, c.kind == ControlKind::List);
    EXPECT_TRUE(c.kind == ControlKind::EditBox || s.field.kind == SettingKind::Integer)
        << "a list or radio group shows a number";
  }
}

TEST(SettingsTableTest, BuildsTheSettingsKeyFromASubKey) {
  EXPECT_EQ(Text(MakeSettingsKey(kSettingsSubKey).c_str()), "SOFTWARE\\Quorvane\\VEK\\TriSpan");
  EXPECT_EQ(Text(MakeSettingsKey(u"").c_str()), "SOFTWARE\\Quorvane\\VEK\\");
}

TEST(SettingsTableTest, FindsASettingByItsRegistryName) {
  EXPECT_EQ(Text(FindSetting(u"MTitle")->defaultText), "X");
  EXPECT_EQ(Text(FindSetting(u"PreComment")->name), "PreComment");
  EXPECT_EQ(FindSetting(u"mtitle"), nullptr);
  EXPECT_EQ(FindSetting(u""), nullptr);
}

TEST(SettingsTableTest, FindsTheSettingOfEachControl) {
  EXPECT_EQ(Text(SettingOfControl(IDC_ROUND)->name), "Round");
  EXPECT_EQ(Text(SettingOfControl(IDC_FONT_EXTERNAL)->name), "Font");
  EXPECT_EQ(Text(SettingOfControl(IDC_FONT_WINDOWS)->name), "Font");
  EXPECT_EQ(Text(SettingOfControl(IDC_PRE_COMMENT)->name), "PreComment");
  EXPECT_EQ(SettingOfControl(IDC_WIDTH_LABEL), nullptr);
  EXPECT_EQ(SettingOfControl(1), nullptr) << "IDOK";
}
