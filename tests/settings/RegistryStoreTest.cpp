// Reading and writing single settings, and loading the record.
#include "RegistryStore.h"
#include "Settings.h"
#include "TestRegistry.h"

#ifndef _WIN32
#include "WinStub.h"
#endif

#include <map>

using testreg::Bytes;
using testreg::TextBytes;

namespace {

const CString kKey = testreg::kSettingsKey;
const CString kUnchanged = u"unchanged";

} // namespace

using RegistryStoreTest = RegistryTest;

TEST_F(RegistryStoreTest, WriteStoresTheTextWithItsNul) {
  for (const CString& text : {CString(u""), CString(u"X"), CString(u"가로 \"1\"\\")}) {
    ASSERT_EQ(RegWriteText(kKey, u"MTitle", text), 0);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(testreg::GetValue(u"MTitle", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data.size(), (text.size() + 1) * 2);
    EXPECT_EQ(data, TextBytes(text));
  }
}

TEST_F(RegistryStoreTest, ReadFailsWithoutTouchingTheText) {
  CString value = kUnchanged;
  EXPECT_EQ(RegReadText(kKey, u"Round", value), -1); // no key
  testreg::SetText(u"Font", u"1");
  EXPECT_EQ(RegReadText(kKey, u"Round", value), -1); // no value
  EXPECT_EQ(value, kUnchanged);
}

TEST_F(RegistryStoreTest, ForwardSlashesAddressTheSameKey) {
  ASSERT_EQ(RegWriteText(u"SOFTWARE/Quorvane/VEK/TriSpan", u"Round", u"2"), 0);
  EXPECT_EQ(testreg::GetText(u"Round"), u"2");
  CString value;
  EXPECT_EQ(RegReadText(u"SOFTWARE/Quorvane\\VEK/TriSpan", u"Round", value), 0);
  EXPECT_EQ(value, u"2");
}

struct ReadRow {
  const char* what;
  DWORD type;
  Bytes data;
  int result;
  CString text;
};

class RegReadTextTest : public RegistryTest, public testing::WithParamInterface<ReadRow> {};

TEST_P(RegReadTextTest, ReadsTheValueAsText) {
  const ReadRow& row = GetParam();
  testreg::SetValue(u"PreComment", row.type, row.data);
  CString value = kUnchanged;
  EXPECT_EQ(RegReadText(kKey, u"PreComment", value), row.result);
  EXPECT_EQ(value, row.text);
}

CString Repeat(size_t count) {
  CString text;
  for (size_t i = 0; i < count; ++i) text.push_back(char16_t(u'a' + i % 26));
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegReadTextTest,
    testing::Values(ReadRow{"text", REG_SZ, TextBytes(u"SUS-"), 0, u"SUS-"},
                    ReadRow{"empty", REG_SZ, TextBytes(u""), 0, u""},
                    ReadRow{"zero bytes", REG_SZ, {}, 0, u""},
                    ReadRow{"126 units", REG_SZ, TextBytes(Repeat(126)), 0, Repeat(126)},
                    ReadRow{"127 units", REG_SZ, TextBytes(Repeat(127)), 0, Repeat(127)},
                    ReadRow{"128 units", REG_SZ, TextBytes(Repeat(128)), 0, Repeat(128)},
                    ReadRow{"10000 units", REG_SZ, TextBytes(Repeat(10000)), 0, Repeat(10000)},
                    ReadRow{"no NUL", REG_SZ, TextBytes(u"12", false), 0, u"12"},
                    ReadRow{"odd byte count", REG_SZ, {'1', 0, '2', 0, '3'}, 0, u"12"},
                    ReadRow{"one byte", REG_SZ, {'1'}, 0, u""},
                    ReadRow{"embedded NUL", REG_SZ, {'1', 0, 0, 0, '2', 0, 0, 0}, 0, u"1"},
                    ReadRow{"expandable", REG_EXPAND_SZ, TextBytes(u"%TEMP%"), 0, u"%TEMP%"},
                    ReadRow{"dword", REG_DWORD, {0x2a, 0, 0, 0}, 0, u"42"},
                    ReadRow{"largest dword", REG_DWORD, {0xff, 0xff, 0xff, 0xff}, 0, u"4294967295"},
                    ReadRow{"short dword", REG_DWORD, {1, 0}, -1, kUnchanged},
                    ReadRow{"binary", REG_BINARY, TextBytes(u"1"), -1, kUnchanged},
                    ReadRow{"multiple texts", REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0}, -1, kUnchanged},
                    ReadRow{"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, -1, kUnchanged},
                    ReadRow{"none", REG_NONE, {}, -1, kUnchanged}),
    [](const testing::TestParamInfo<ReadRow>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST_F(RegistryStoreTest, LoadSettingsGivesTheDefaultsOnAnEmptyRegistry) {
  TriSpanSettings = SettingsRecord{};
  LoadSettings();
  const SettingsRecord& s = TriSpanSettings;
  EXPECT_EQ(s.Round, 4);
  EXPECT_EQ(s.Font, 0);
  EXPECT_EQ(s.MTitle, u"X");
  EXPECT_EQ(s.Width, 4.0);
  EXPECT_EQ(s.Height, 4.0);
  EXPECT_EQ(s.Pitch, 0.0);
  EXPECT_EQ(s.positionX, 1.0);
  EXPECT_EQ(s.positionY, 0.0);
  EXPECT_EQ(s.FrameDim, 2);
  EXPECT_EQ(s.FrameChar, 1);
  EXPECT_EQ(s.FrameCmd, 2);
  EXPECT_EQ(s.PreComment, u"");
}

TEST_F(RegistryStoreTest, LoadSettingsConvertsTheStoredTexts) {
  testreg::SetText(u"Round", u"  3xyz");
  testreg::SetText(u"Font", u"5");
  testreg::SetText(u"MTitle", u" x ");
  testreg::SetText(u"Width", u"abc");
  testreg::SetText(u"Height", u"3.5mm");
  testreg::SetText(u"Pitch", u"-0.25");
  testreg::SetText(u"positionX", u"1e3");
  testreg::SetText(u"FrameCmd", u"99999999999");
  testreg::SetText(u"PreComment", Repeat(10000));
  LoadSettings();
  const SettingsRecord& s = TriSpanSettings;
  EXPECT_EQ(s.Round, 3);
  EXPECT_EQ(s.Font, 5);
  EXPECT_EQ(s.MTitle, u" x ");
  EXPECT_EQ(s.Width, 0.0);
  EXPECT_EQ(s.Height, 3.5);
  EXPECT_EQ(s.Pitch, -0.25);
  EXPECT_EQ(s.positionX, 1000.0);
  EXPECT_EQ(s.FrameCmd, 2147483647);
  EXPECT_EQ(s.PreComment, Repeat(10000));
  EXPECT_EQ(testreg::GetText(u"Width"), u"abc"); // the registry keeps what was typed
}

#ifndef _WIN32
TEST_F(RegistryStoreTest, FailuresAreReported) {
  EXPECT_TRUE(WriteSetting(u"TriSpan", u"Round", u"1"));
  WinStubSetRegistryFailures(WINSTUB_FAIL_CREATE);
  EXPECT_EQ(RegWriteText(kKey, u"Round", u"1"), -1);
  EXPECT_FALSE(WriteSetting(u"TriSpan", u"Round", u"1"));
  WinStubSetRegistryFailures(WINSTUB_FAIL_SET);
  EXPECT_EQ(RegWriteText(kKey, u"Round", u"1"), -1);
  WinStubSetRegistryFailures(0);
  testreg::SetText(u"Round", u"1");
  WinStubSetRegistryFailures(WINSTUB_FAIL_QUERY);
  CString value = kUnchanged;
  EXPECT_EQ(RegReadText(kKey, u"Round", value), -1);
  EXPECT_EQ(value, kUnchanged);
}

TEST_F(RegistryStoreTest, LoadSettingsGoesOnWhenWritesFail) {
  WinStubSetRegistryFailures(WINSTUB_FAIL_CREATE | WINSTUB_FAIL_SET);
  TriSpanSettings = SettingsRecord{};
  LoadSettings();
  EXPECT_EQ(TriSpanSettings.Round, 4);
  EXPECT_EQ(TriSpanSettings.MTitle, u"X");
  WinStubSetRegistryFailures(0);
  EXPECT_TRUE(testreg::ValueNames().empty());
}

// Every key opened or created is closed again, whatever fails in between.
TEST_F(RegistryStoreTest, EveryKeyIsClosedAgain) {
  for (unsigned failures : {0u, unsigned(WINSTUB_FAIL_OPEN), unsigned(WINSTUB_FAIL_QUERY),
                            unsigned(WINSTUB_FAIL_CREATE), unsigned(WINSTUB_FAIL_SET)}) {
    SCOPED_TRACE(failures);
    testreg::Reset();
    testreg::SetText(u"Round", u"1");
    testreg::SetValue(u"Font", REG_DWORD, {1, 0, 0, 0});
    testreg::SetValue(u"Width", REG_BINARY, {1});
    WinStubSetRegistryFailures(failures);
    CString value;
    for (const char16_t* name : {u"Round", u"Font", u"Width", u"Missing"}) {
      RegReadText(kKey, name, value);
      EXPECT_EQ(WinStubOpenKeyCount(), 0) << "after reading " << testing::PrintToString(name);
    }
    RegWriteText(kKey, u"Round", u"2");
    EXPECT_EQ(WinStubOpenKeyCount(), 0) << "after writing";
    LoadSettings();
    EXPECT_EQ(WinStubOpenKeyCount(), 0) << "after loading";
    WinStubSetRegistryFailures(0);
  }
}

// Another program changes the value between the reader's queries: the
// reader asks again, up to three times, and never reads past its buffer.
struct Change {
  DWORD type; // REG_NONE: the value is deleted
  Bytes data;
};

struct RaceRow {
  const char* what;
  DWORD type;
  Bytes data;
  std::map<int, Change> afterQuery; // by the number of the query, from 1
  int result;
  CString text;
  int queries; // how many times the reader asked
};

void PrintTo(const RaceRow& row, std::ostream* out) { *out << row.what; }

class RegReadRaceTest : public RegistryTest, public testing::WithParamInterface<RaceRow> {
protected:
  static void AfterQuery(HKEY key, void* context) {
    auto* self = static_cast<RegReadRaceTest*>(context);
    auto change = self->GetParam().afterQuery.find(++self->queries_);
    if (change == self->GetParam().afterQuery.end()) return;
    if (change->second.type == REG_NONE) {
      RegDeleteValueW(key, testreg::W(u"PreComment"));
      return;
    }
    const Bytes& data = change->second.data;
    RegSetValueExW(key, testreg::W(u"PreComment"), 0, change->second.type, data.data(),
                   DWORD(data.size()));
  }
  void TearDown() override { WinStubSetQueryHook(nullptr, nullptr); }
  int queries_ = 0;
};

TEST_P(RegReadRaceTest, ReadsTheValueAsItEnds) {
  testreg::SetValue(u"PreComment", GetParam().type, GetParam().data);
  WinStubSetQueryHook(AfterQuery, this);
  CString value = kUnchanged;
  EXPECT_EQ(RegReadText(kKey, u"PreComment", value), GetParam().result);
  EXPECT_EQ(value, GetParam().text);
  EXPECT_EQ(queries_, GetParam().queries);
}

const Change kLonger{REG_SZ, TextBytes(u"longer text")};
const Change kLongest{REG_SZ, TextBytes(u"the longest text")};
const Change kLongestStill{REG_SZ, TextBytes(u"the longest text of all")};

INSTANTIATE_TEST_SUITE_P(
    Rows, RegReadRaceTest,
    testing::Values(
        RaceRow{"unchanged", REG_SZ, TextBytes(u"ab"), {}, 0, u"ab", 2},
        RaceRow{"of another type", REG_BINARY, {1, 2}, {}, -1, kUnchanged, 1},
        RaceRow{"grows once", REG_SZ, TextBytes(u"ab"), {{1, kLonger}}, 0, u"longer text", 4},
        RaceRow{"grows twice",
                REG_SZ,
                TextBytes(u"ab"),
                {{1, kLonger}, {3, kLongest}},
                0,
                u"the longest text",
                6},
        RaceRow{"keeps growing",
                REG_SZ,
                TextBytes(u"ab"),
                {{1, kLonger}, {3, kLongest}, {5, kLongestStill}},
                -1,
                kUnchanged,
                6},
        RaceRow{"becomes a number",
                REG_SZ,
                TextBytes(u"ab"),
                {{1, {REG_DWORD, {7, 0, 0, 0}}}},
                0,
                u"7",
                4},
        RaceRow{"number becomes text",
                REG_DWORD,
                {42, 0, 0, 0},
                {{1, {REG_SZ, {'a', 0, 0, 0}}}},
                0,
                u"a",
                4},
        RaceRow{"deleted", REG_SZ, TextBytes(u"ab"), {{1, {REG_NONE, {}}}}, -1, kUnchanged, 2}));
#endif
