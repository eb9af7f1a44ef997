// The note rules and the frame policies as pure functions, every branch a
// row: no host, no registry.
#include "FramePolicy.h"
#include "NoteText.h"
#include "Printing.h"
#include "VekLib.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct NoteRow {
  const char* what;
  std::function<void(SettingsRecord&, PickStateRecord&)> change;
  std::u16string note;
};

void PrintTo(const NoteRow& row, std::ostream* out) { *out << row.what; }

// Round 4, Font 0, connector X, no prefix; 100 x 50 x 20 with their texts.
void Base(SettingsRecord& s, PickStateRecord& p) {
  s.Round = kRoundAsDimension;
  s.Font = 0;
  s.MTitle = u"X";
  p.widthValue = 100, p.lengthValue = 50, p.heightValue = 20;
  p.widthText = u"W100", p.lengthText = u"L50", p.heightText = u"H20";
}

class ComposeNoteTest : public testing::TestWithParam<NoteRow> {};

TEST_P(ComposeNoteTest, TheFirstRuleThatHoldsGivesTheNote) {
  SettingsRecord settings;
  PickStateRecord pick;
  Base(settings, pick);
  GetParam().change(settings, pick);
  EXPECT_EQ(Text(ComposeNote(settings, pick).c_str()), Text(GetParam().note.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ComposeNoteTest,
    testing::Values(
        NoteRow{"three measures, the step texts", [](auto&, auto&) {}, u"W100XL50XH20"},
        NoteRow{"three measures in Round places",
                [](SettingsRecord& s, PickStateRecord& p) {
                  s.Round = 1;
                  p.widthValue = 100.04, p.lengthValue = 50.25;
                },
                u"100.0X50.3X20.0"},
        NoteRow{"the connector and the prefix",
                [](SettingsRecord& s, auto&) {
                  s.MTitle = u" x ";
                  s.PreComment = u"SUS-";
                },
                u"SUS-W100 x L50 x H20"},
        NoteRow{"a length of 0: sign, width, height",
                [](auto&, PickStateRecord& p) { p.lengthValue = 0; }, u"\uE000W100XH20"},
        NoteRow{"a length of -0 counts as 0",
                [](auto&, PickStateRecord& p) { p.lengthValue = -0.0; }, u"\uE000W100XH20"},
        NoteRow{"the Windows font's sign",
                [](SettingsRecord& s, PickStateRecord& p) {
                  s.Font = 5;
                  p.lengthValue = 0;
                },
                u"\uE11DW100XH20"},
        NoteRow{"height left out: sign, width, length",
                [](auto&, PickStateRecord& p) { p.heightSkipped = true; }, u"\uE000W100XL50"},
        NoteRow{"height left out before a length of 0",
                [](auto&, PickStateRecord& p) {
                  p.heightSkipped = true;
                  p.lengthValue = 0;
                },
                u"\uE000W100XL50"},
        NoteRow{"a diameter width, height left out: sign and width",
                [](auto&, PickStateRecord& p) {
                  p.heightSkipped = p.lengthSkipped = true;
                  p.lengthValue = 0;
                },
                u"\uE000W100"},
        NoteRow{"a diameter width with a height",
                [](auto&, PickStateRecord& p) {
                  p.lengthSkipped = true;
                  p.lengthValue = 0;
                },
                u"\uE000W100XH20"}));

// A diameter width whose text carries the host's diameter code (U+001C
// U+0021): after the sign the code is left out, the rest of the text kept.
void DiameterWidth(PickStateRecord& p, const char16_t* widthText) {
  p.lengthSkipped = true;
  p.lengthValue = 0;
  p.widthValue = 30, p.heightValue = 120;
  p.widthText = widthText, p.heightText = u"120";
}

INSTANTIATE_TEST_SUITE_P(DiameterCode, ComposeNoteTest,
                         testing::Values(NoteRow{"the code after the sign is left out",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C\x21"
                                                                    u"30");
                                                 },
                                                 u"\uE000"
                                                 u"30X120"},
                                         NoteRow{"the rest of the prefix and the suffix stay",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C\x21"
                                                                    u"30(h7)");
                                                 },
                                                 u"\uE000"
                                                 u"30(h7)X120"},
                                         NoteRow{"with the prefix and the Windows font's sign",
                                                 [](SettingsRecord& s, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C\x21"
                                                                    u"30");
                                                   s.PreComment = u"SUS-";
                                                   s.Font = 1;
                                                 },
                                                 u"SUS-\uE11D"
                                                 u"30X120"},
                                         NoteRow{"height left out: sign and width alone",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C\x21"
                                                                    u"30");
                                                   p.heightSkipped = true;
                                                 },
                                                 u"\uE000"
                                                 u"30"},
                                         NoteRow{
                                             "height left out after a length: sign, width, length",
                                             [](auto&, PickStateRecord& p) {
                                               p.widthText = u"\x1C\x21"
                                                             u"30";
                                               p.heightSkipped = true;
                                             },
                                             u"\uE000"
                                             u"30XL50"},
                                         NoteRow{"U+001C alone stays",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C"
                                                                    u"30");
                                                 },
                                                 u"\uE000\x1C"
                                                 u"30X120"},
                                         NoteRow{"U+0021 alone stays",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x21"
                                                                    u"30");
                                                 },
                                                 u"\uE000!30X120"},
                                         NoteRow{"the code not at the start stays",
                                                 [](auto&, PickStateRecord& p) {
                                                   DiameterWidth(p, u"R\x1C\x21"
                                                                    u"30");
                                                 },
                                                 u"\uE000R\x1C\x21"
                                                 u"30X120"},
                                         NoteRow{"the three measures keep the code",
                                                 [](auto&, PickStateRecord& p) {
                                                   p.widthText = u"\x1C\x21"
                                                                 u"30";
                                                 },
                                                 u"\x1C\x21"
                                                 u"30XL50XH20"},
                                         NoteRow{"in Round places the code never appears",
                                                 [](SettingsRecord& s, PickStateRecord& p) {
                                                   DiameterWidth(p, u"\x1C\x21"
                                                                    u"30");
                                                   s.Round = 0;
                                                 },
                                                 u"\uE000"
                                                 u"30X120"}));

TEST(PolicyFrameTest, ZeroFigureOneTitleAnyOtherNone) {
  struct Row {
    int32_t policy, frame;
  };
  for (Row row : {Row{0, FRAME_FIGURE}, Row{1, FRAME_TITLE}, Row{2, kNoFrame}, Row{-1, kNoFrame},
                  Row{7, kNoFrame}, Row{INT32_MIN, kNoFrame}})
    EXPECT_EQ(PolicyFrame(row.policy), row.frame) << "policy " << row.policy;
}

} // namespace
