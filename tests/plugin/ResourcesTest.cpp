// The library's resources as built: dialog template 23000 control by
// control, and on Windows the version strings and the manifest.
#include "DialogDriver.h"
#include "PluginSession.h"
#include "Version.h"

#ifndef _WIN32
#include "WinStub.h"
#endif

#include <cstring>

namespace {

const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kCombo = 0x85;
const DWORD kLabel = 0x50020000, kList = 0x50210103, kEditBox = 0x50810080;

struct Control {
  int id;
  WORD kind;
  std::u16string text;
  short x, y, cx, cy;
  DWORD style;
  bool operator==(const Control& o) const {
    return id == o.id && kind == o.kind && text == o.text && x == o.x && y == o.y && cx == o.cx &&
           cy == o.cy && style == o.style;
  }
};

void PrintTo(const Control& c, std::ostream* out) {
  *out << "{" << c.id << ", 0x" << std::hex << c.kind << std::dec << ", " << c.x << "," << c.y
       << "," << c.cx << "," << c.cy << ", 0x" << std::hex << c.style << std::dec << ", "
       << c.text.size() << " units}";
}

// The 31 controls in template order, which is also the tab order.
const std::vector<Control> kControls = {
    {-1, kStatic, u"◆. 자리수설정", 23, 37, 58, 8, kLabel},
    {23000, kCombo, u"", 111, 34, 71, 70, kList},
    {-1, kStatic, u"◆. Ø 문자설정", 23, 52, 58, 8, kLabel},
    {-1, kStatic, u"◆. 치수문자 연결자", 243, 37, 80, 8, kLabel},
    {23001, kButton, u"외자등록 Ø사용", 111, 50, 97, 10, 0x50020009},
    {23002, kButton, u"윈도우 폰트 Ø사용", 111, 63, 98, 10, 0x50000009},
    {12000, kEdit, u"", 331, 34, 19, 14, kEditBox},
    {12005, kStatic, u"width", 300, 64, 26, 8, kLabel},
    {12001, kEdit, u"", 330, 61, 40, 14, kEditBox},
    {1, kButton, u"확인", 141, 196, 50, 14, 0x50010000}, // a plain push button
    {-1, kStatic, u"◆. 배치위치(기준점에서)", 243, 111, 94, 8, kLabel},
    {-1, kStatic, u"◆. 치수문자 크기", 243, 52, 80, 8, kLabel},
    {12006, kStatic, u"Height", 300, 80, 26, 8, kLabel},
    {12004, kEdit, u"", 330, 77, 40, 14, kEditBox},
    {2, kButton, u"취소", 195, 196, 50, 14, 0x50010000},
    {12008, kStatic, u"Pitch", 300, 95, 26, 8, kLabel},
    {12009, kEdit, u"", 330, 93, 40, 14, kEditBox},
    {12010, kStatic, u"X축 :", 301, 123, 26, 8, kLabel},
    {12011, kEdit, u"", 331, 121, 40, 14, kEditBox},
    {12012, kStatic, u"Y축 :", 302, 139, 26, 8, kLabel},
    {12013, kEdit, u"", 332, 137, 40, 14, kEditBox},
    {-1, kStatic, u"◆. 프레임이동(주기입력시)", 23, 112, 128, 8, kLabel},
    {23003, kCombo, u"", 111, 122, 106, 70, kList},
    {-1, kStatic, u"◆. 프레임이동(명령종료후)", 23, 140, 128, 8, kLabel},
    {23004, kCombo, u"", 111, 150, 106, 70, kList},
    {-1, kStatic, u"◆. 프레임이동(치수선택시)", 23, 83, 128, 8, kLabel},
    {23005, kCombo, u"", 111, 94, 106, 70, kList},
    {-1, kButton, u"", 11, 19, 216, 168, 0x50000007},
    {-1, kButton, u"", 229, 19, 152, 168, 0x50000007},
    {-1, kStatic, u"◆. 전주기", 243, 156, 94, 8, kLabel},
    {12014, kEdit, u"", 255, 169, 116, 14, kEditBox},
};

} // namespace

#ifdef _WIN32

namespace {

// Reads a DLGTEMPLATEEX.
class TemplateReader {
public:
  TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // A little-endian number of up to 4 bytes.
  uint32_t Read(size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes && pos_ < size_; ++i) value |= uint32_t(data_[pos_++]) << (8 * i);
    return value;
  }
  std::u16string Text() {
    std::u16string text;
    for (char16_t c; (c = char16_t(Read(2))) != 0 && pos_ < size_;) text.push_back(c);
    return text;
  }
  // A name, or an ordinal (returned; the text then empty).
  WORD NameOrOrdinal(std::u16string& text) {
    WORD first = WORD(Read(2));
    text.clear();
    if (first == 0xFFFF) return WORD(Read(2));
    if (first != 0) text = char16_t(first) + Text();
    return 0;
  }
  void Align() { pos_ = (pos_ + 3) / 4 * 4; }
  void Skip(size_t bytes) { pos_ += bytes; }

private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

std::vector<uint8_t> Resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
  return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

class ResourcesTest : public testing::Test {
protected:
  void SetUp() override {
    std::string path = PluginPath();
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { FreeLibrary(module_); }
  HMODULE module_ = nullptr;
};

} // namespace

TEST_F(ResourcesTest, TheDialogTemplateIsAsDesigned) {
  std::vector<uint8_t> bytes = Resource(module_, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(23000));
  ASSERT_FALSE(bytes.empty());
  TemplateReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.Read(2), 1u);
  EXPECT_EQ(r.Read(2), 0xFFFFu);
  r.Skip(8); // help id, extended style
  EXPECT_EQ(r.Read(4), 0x80C800C8u);
  WORD count = WORD(r.Read(2));
  EXPECT_EQ(count, 31);
  r.Read(4); // x, y
  EXPECT_EQ(r.Read(2), 392u);
  EXPECT_EQ(r.Read(2), 227u);
  std::u16string text;
  r.NameOrOrdinal(text);
  r.NameOrOrdinal(text);
  EXPECT_EQ(r.Text(), u"가로x세로x높이");
  EXPECT_EQ(r.Read(2), 8u);   // points
  EXPECT_EQ(r.Read(2), 400u); // weight
  r.Read(2);                  // italic, character set
  EXPECT_EQ(r.Text(), u"MS Shell Dlg");
  std::vector<Control> controls;
  for (WORD i = 0; i < count; ++i) {
    r.Align();
    Control c{};
    r.Skip(8); // help id, extended style
    c.style = r.Read(4);
    c.x = short(r.Read(2)), c.y = short(r.Read(2)), c.cx = short(r.Read(2)),
    c.cy = short(r.Read(2));
    c.id = int(int32_t(r.Read(4)));
    std::u16string className;
    c.kind = r.NameOrOrdinal(className);
    if (className == u"BUTTON" || className == u"Button") c.kind = kButton;
    r.NameOrOrdinal(c.text);
    r.Read(2);
    controls.push_back(c);
  }
  EXPECT_EQ(controls, kControls);
}

TEST_F(ResourcesTest, TheVersionStringsAreKorean) {
  std::vector<uint8_t> info = Resource(module_, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));
  ASSERT_FALSE(info.empty());
  struct Row {
    const wchar_t* name;
    std::wstring value;
  };
  for (const Row& row :
       {Row{L"FileVersion", TRISPAN_FILE_VERSION_TEXT_W}, Row{L"ProductVersion", L"2.2.4.2.1.1"},
        Row{L"FileDescription", L"\uAC00\uB85CX\uC138\uB85CX\uB192\uC774"},
        Row{L"InternalName", L"TriSpan.dll"}, Row{L"OriginalFilename", L"TriSpan.dll"},
        Row{L"ProductName", L"TriSpan Dll"}}) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring query = std::wstring(L"\\StringFileInfo\\041204b0\\") + row.name;
    ASSERT_TRUE(
        VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        << row.name;
    ASSERT_NE(value, nullptr) << row.name;
    EXPECT_EQ(std::wstring(value), row.value) << row.name;
  }
  DWORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(*translation, 0x04B00412u);
  // The numbers agree with the text: the project's version.
  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD parts[] = {TRISPAN_FILE_VERSION};
  EXPECT_EQ(fixed->dwFileVersionMS, parts[0] << 16 | parts[1]);
  EXPECT_EQ(fixed->dwFileVersionLS, parts[2] << 16 | parts[3]);
}

TEST_F(ResourcesTest, TheManifestAsksForTheCallersRightsAndDpiAwareness) {
  std::vector<uint8_t> bytes = Resource(module_, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(2));
  std::string manifest(bytes.begin(), bytes.end());
  EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

#else

// On Linux the same compiled template reaches the stand-in dialog manager.
TEST_F(PluginTest, TheDialogTemplateIsAsDesigned) {
  std::vector<Control> controls;
  std::u16string caption;
  OnNextDialog({[&](HWND dialog) {
    WinStubControl found[40];
    HWND windows[40];
    int count = WinStubDialogControls(dialog, found, windows, 40);
    for (int i = 0; i < count && i < 40; ++i) {
      char16_t text[64] = {};
      GetWindowTextW(windows[i], text, 64);
      const WinStubControl& f = found[i];
      // The edit boxes show the settings by now; the template leaves them empty.
      std::u16string shown = f.kind == kEdit ? u"" : text;
      controls.push_back(Control{f.id, f.kind, shown, f.x, f.y, f.cx, f.cy, f.style});
    }
    caption.resize(32);
    caption.resize(size_t(GetWindowTextW(dialog, &caption[0], 32)));
  }});
  StartWith();
  Send(EndButton());
  EXPECT_EQ(caption, u"가로x세로x높이");
  EXPECT_EQ(controls, kControls);
}

#endif
