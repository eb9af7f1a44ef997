// The settings dialog, opened by the end button at the width step: what it
// shows, what OK and Cancel leave in the registry and in force.
#include "DialogDriver.h"
#include "PluginSession.h"
#include "resource.h"

#ifndef _WIN32
#include "WinStub.h"
#endif

namespace {

using testreg::Bytes;

const std::vector<std::pair<std::u16string, std::u16string>> kDefaults = {
    {u"Round", u"4"},    {u"Font", u"0"},      {u"MTitle", u"X"},    {u"Width", u"4"},
    {u"Height", u"4"},   {u"Pitch", u"0"},     {u"positionX", u"1"}, {u"positionY", u"0"},
    {u"FrameDim", u"2"}, {u"FrameChar", u"1"}, {u"FrameCmd", u"2"},  {u"PreComment", u""},
};

class SettingsDialogTest : public PluginTest {
protected:
  // Starts the command and presses the end button with the dialog armed.
  void OpenDialog(std::vector<DialogAction> actions, DialogView* view = nullptr) {
    if (!SimCommandRunning()) StartWith();
    OnNextDialog(std::move(actions), view);
    ASSERT_EQ(Send(EndButton()), EXEC_STAY);
  }
  // Finishes the command with 100 x 50 x 20 and a note at the origin.
  SimNote WriteNote() {
    VekElementId width = AddDimension(100, 1);
    EXPECT_EQ(Send(Pick(width)), EXEC_NEXT);
    Send(Keyin("50"));
    Send(Keyin("20"));
    Send(EndButton()); // back to the figure frame (FrameChar's default took the title)
    Send(DataPoint(0, 0));
    std::vector<SimNote> notes = WrittenNotes();
    EXPECT_EQ(notes.size(), 1u);
    return notes.empty() ? SimNote{} : notes[0];
  }
  std::vector<std::u16string> StoredTexts() {
    std::vector<std::u16string> texts;
    for (const auto& [name, text] : kDefaults) texts.push_back(testreg::GetText(name));
    return texts;
  }
};

} // namespace

TEST_F(SettingsDialogTest, OpensShowingTheStoredDefaults) {
  DialogView view;
  OpenDialog({}, &view);
  ASSERT_TRUE(view.opened);
  EXPECT_EQ(view.caption, u"가로x세로x높이");
  EXPECT_EQ(view.items[IDC_ROUND],
            (std::vector<std::u16string>{u"0", u"1", u"2", u"3", u"치수값 그대로"}));
  EXPECT_EQ(view.items[IDC_FRAME_DIM],
            (std::vector<std::u16string>{u"도형프레임으로 이동", u"표제프레임으로 이동",
                                         u"현재프레임 그대로"}));
  EXPECT_EQ(view.items[IDC_FRAME_CHAR], view.items[IDC_FRAME_DIM]);
  EXPECT_EQ(view.items[IDC_FRAME_CMD],
            (std::vector<std::u16string>{u"도형프레임으로 이동", u"표제프레임으로 이동",
                                         u"프레임 원래대로"}));
  EXPECT_EQ(view.selections[IDC_ROUND], 4);
  EXPECT_EQ(view.selections[IDC_FRAME_DIM], 2);
  EXPECT_EQ(view.selections[IDC_FRAME_CHAR], 1);
  EXPECT_EQ(view.selections[IDC_FRAME_CMD], 2);
  EXPECT_TRUE(view.checked[IDC_FONT_EXTERNAL]);
  EXPECT_FALSE(view.checked[IDC_FONT_WINDOWS]);
  EXPECT_EQ(view.texts, (std::map<int, std::u16string>{{IDC_MTITLE, u"X"},
                                                       {IDC_WIDTH, u"4"},
                                                       {IDC_HEIGHT, u"4"},
                                                       {IDC_PITCH, u"0"},
                                                       {IDC_POSITION_X, u"1"},
                                                       {IDC_POSITION_Y, u"0"},
                                                       {IDC_PRE_COMMENT, u""}}));
  EXPECT_EQ(SimCommandRunning(), 1);
  EXPECT_EQ(JournalOf("VekMsgPutMessage").size(), 1u) << "the prompt is not put again";
}

TEST_F(SettingsDialogTest, AValueDeletedAfterTheStartIsWrittenBackWhenItOpens) {
  StartWith();
  testreg::DeleteValue(u"Pitch");
  DialogView view;
  OpenDialog({}, &view); // cancelled
  EXPECT_EQ(view.texts[IDC_PITCH], u"0");
  EXPECT_EQ(testreg::GetText(u"Pitch"), u"0");
}

TEST_F(SettingsDialogTest, CancelChangesNothing) {
  StartWith({{u"MTitle", u"*"}});
  std::vector<std::u16string> before = StoredTexts();
  OpenDialog({Select(IDC_ROUND, 1), Click(IDC_FONT_WINDOWS), Type(IDC_MTITLE, u"+"),
              Type(IDC_WIDTH, u"9"), Select(IDC_FRAME_CMD, 0), Click(IDCANCEL)});
  EXPECT_EQ(StoredTexts(), before);
  SimNote note = WriteNote();
  EXPECT_STREQ(note.text, "100.0*50*20");
  EXPECT_EQ(note.width, 4);
}

TEST_F(SettingsDialogTest, OkWithoutChangesRewritesAllTwelve) {
  for (const auto& [name, text] : kDefaults)
    testreg::SetValue(name, REG_EXPAND_SZ, testreg::TextBytes(text));
  OpenDialog({Click(IDOK)});
  for (const auto& [name, text] : kDefaults) EXPECT_EQ(testreg::GetText(name), text);
}

TEST_F(SettingsDialogTest, OkPutsTheChangesInForceAtOnceAndSavesThem) {
  OpenDialog({Select(IDC_ROUND, 2), Click(IDC_FONT_WINDOWS), Type(IDC_MTITLE, u"*"),
              Type(IDC_WIDTH, u"2.5"), Type(IDC_HEIGHT, u"3"), Type(IDC_PITCH, u"0.5"),
              Type(IDC_POSITION_X, u"-1"), Type(IDC_POSITION_Y, u" 2 "), Select(IDC_FRAME_DIM, 0),
              Select(IDC_FRAME_CHAR, 2), Select(IDC_FRAME_CMD, 1), Type(IDC_PRE_COMMENT, u"SUS-"),
              Click(IDOK)});
  EXPECT_EQ(StoredTexts(), (std::vector<std::u16string>{u"2", u"1", u"*", u"2.5", u"3", u"0.5",
                                                        u"-1", u" 2 ", u"0", u"2", u"1", u"SUS-"}));
  // The width step still waits; the rest of the command takes the new values.
  EXPECT_STREQ(SimPrompt(), "가로치수선택 : (종료버튼:Dialog)");
  SimJournalClear();
  SimNote note = WriteNote();
  EXPECT_STREQ(note.text, "SUS-100.00*50.00*20.00");
  EXPECT_EQ(note.x, -1);
  EXPECT_EQ(note.y, 2);
  EXPECT_EQ(note.width, 2.5);
  EXPECT_EQ(note.height, 3);
  EXPECT_EQ(note.pitch, 0.5);
  // FrameChar 2 kept the frame at the note step; FrameCmd 1 ends in the title frame.
  EXPECT_EQ(JournalOf("VekEnvSetFrame").back(), "VekEnvSetFrame(2) = 0");
}

TEST_F(SettingsDialogTest, FrameDimFirstActsAtTheNextStart) {
  OpenDialog({Select(IDC_FRAME_DIM, 1), Click(IDOK)});
  EXPECT_TRUE(JournalOf("VekEnvSetFrame").empty());
  SimCancelCommand();
  SimJournalClear();
  StartWith();
  EXPECT_EQ(JournalOf("VekEnvSetFrame"), std::vector<std::string>{"VekEnvSetFrame(2) = 0"});
}

TEST_F(SettingsDialogTest, ARoundOutsideTheListIsKept) {
  StartWith({{u"Round", u"7"}});
  DialogView view;
  OpenDialog({Click(IDOK)}, &view);
  EXPECT_EQ(view.selections[IDC_ROUND], CB_ERR);
  EXPECT_EQ(testreg::GetText(u"Round"), u"7");
  EXPECT_STREQ(WriteNote().text, "100.0000000X50.0000000X20.0000000");
}

TEST_F(SettingsDialogTest, AnyFontButZeroChecksTheSecondButton) {
  StartWith({{u"Font", u"5"}});
  DialogView view;
  OpenDialog({Click(IDOK)}, &view);
  EXPECT_FALSE(view.checked[IDC_FONT_EXTERNAL]);
  EXPECT_TRUE(view.checked[IDC_FONT_WINDOWS]);
  EXPECT_EQ(testreg::GetText(u"Font"), u"1");
}

TEST_F(SettingsDialogTest, NoRadioButtonCheckedStoresMinusOne) {
  OpenDialog({Uncheck(IDC_FONT_EXTERNAL), Click(IDOK)});
  EXPECT_EQ(testreg::GetText(u"Font"), u"-1");
}

TEST_F(SettingsDialogTest, ATextThatIsNoNumberIsStoredAsTypedAndShownAgain) {
  OpenDialog({Type(IDC_WIDTH, u"abc"), Click(IDOK)});
  EXPECT_EQ(testreg::GetText(u"Width"), u"abc");
  DialogView view;
  OpenDialog({}, &view);
  EXPECT_EQ(view.texts[IDC_WIDTH], u"abc");
  EXPECT_EQ(WriteNote().width, 0);
}

TEST_F(SettingsDialogTest, ChoosingTheLastItemsStoresTheirPositions) {
  StartWith({{u"Round", u"1"}, {u"FrameCmd", u"0"}});
  OpenDialog({Select(IDC_ROUND, 4), Select(IDC_FRAME_CMD, 2), Click(IDOK)});
  EXPECT_EQ(testreg::GetText(u"Round"), u"4");
  EXPECT_EQ(testreg::GetText(u"FrameCmd"), u"2");
}

// The host's main window: a top-level window of this thread, made active.
class HostWindow {
public:
  HostWindow() {
    window_ = CreateWindowExW(0, testreg::W(u"STATIC"), testreg::W(u"Vek"),
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
    SetActiveWindow(window_);
  }
  ~HostWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

private:
  HWND window_;
};

TEST_F(SettingsDialogTest, IsModalToTheHostsActiveWindow) {
  VekElementId width = AddDimension(100);
  HostWindow host;
  ASSERT_NE(host.get(), nullptr);
  ASSERT_EQ(GetActiveWindow(), host.get());
  StartWith();
  SimJournalClear();
  HWND owner = nullptr;
  BOOL enabledMeanwhile = TRUE;
  int32_t nestedPick = 0, nestedEnd = 0;
  int32_t journalMeanwhile = -1;
  OpenDialog({[&](HWND dialog) {
                owner = GetWindow(dialog, GW_OWNER);
                enabledMeanwhile = IsWindowEnabled(host.get());
                // The host's window procedure may pass on another event meanwhile.
                nestedPick = Send(Pick(width));
                nestedEnd = Send(EndButton());
                journalMeanwhile = SimJournalSize();
              },
              Click(IDOK)});
  EXPECT_EQ(owner, host.get());
  EXPECT_FALSE(enabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(host.get())) << "enabled again when the dialog closed";
  EXPECT_EQ(nestedPick, EXEC_STAY);
  EXPECT_EQ(nestedEnd, EXEC_STAY);
  // The end button's query, then only the host's own check of the nested
  // pick through the compare function: nothing asked, put or installed.
  EXPECT_EQ(Journal(),
            (std::vector<std::string>{"VekEvtGetPoint(7, 1) = 1", "VekElmGetType(1) = 12"}));
  EXPECT_EQ(journalMeanwhile, 2);
  EXPECT_EQ(Send(Pick(width)), EXEC_NEXT) << "the width step takes picks again";
}

TEST_F(SettingsDialogTest, OkAndCancelAloneCloseTheDialog) {
  struct Row {
    const char* what;
    DialogAction action;
    bool open;
  };
  for (const Row& row : {Row{"OK", Click(IDOK), false}, Row{"Cancel", Click(IDCANCEL), false},
                         Row{"a radio button", Click(IDC_FONT_WINDOWS), true},
                         Row{"a list", Select(IDC_ROUND, 1), true},
                         Row{"an edit box", Type(IDC_WIDTH, u"5"), true}}) {
    BOOL visibleAfter = !row.open;
    OpenDialog({row.action, [&](HWND dialog) { visibleAfter = IsWindowVisible(dialog); }});
    EXPECT_EQ(bool(visibleAfter), row.open) << row.what;
  }
}

TEST_F(SettingsDialogTest, WithoutAnActiveWindowItHasNoOwner) {
  { HostWindow gone; } // a window that was active and is no more
  ASSERT_EQ(GetActiveWindow(), nullptr);
  HWND owner = reinterpret_cast<HWND>(1);
  OpenDialog({[&](HWND dialog) { owner = GetWindow(dialog, GW_OWNER); }});
  EXPECT_EQ(owner, nullptr);
}

#ifdef _WIN32
TEST_F(SettingsDialogTest, EnterConfirmsWithoutADefaultButton) {
  OpenDialog({Type(IDC_MTITLE, u"*"), [](HWND dialog) {
                HWND edit = GetDlgItem(dialog, IDC_WIDTH);
                SetFocus(edit);
                MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
                IsDialogMessageW(dialog, &enter);
              }});
  EXPECT_EQ(testreg::GetText(u"MTitle"), u"*");
}
#else
TEST_F(SettingsDialogTest, ADialogThatCannotBeShownCountsAsCancel) {
  StartWith();
  WinStubSetDialogDriver(nullptr, nullptr); // no screen
  std::vector<std::u16string> before = StoredTexts();
  EXPECT_EQ(Send(EndButton()), EXEC_STAY);
  EXPECT_EQ(StoredTexts(), before);
  EXPECT_EQ(SimCommandRunning(), 1);
}
#endif
