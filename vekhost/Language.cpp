#include "Language.h"

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unordered_map>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vekhost {

namespace {

Language current = Language::English;

// The locale's language for messages, as POSIX orders the variables: the
// first one set and not empty. Windows has none of them but where a person
// sets them (Wine passes a Unix shell's on): its user interface language.
Language LocaleLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LanguageOfLocale(value);
  }
#ifdef _WIN32
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_KOREAN ? Language::Korean
                                                                  : Language::English;
#else
  return Language::English;
#endif
}

} // namespace

std::optional<Language> LanguageNamed(std::string_view name) {
  if (name == "ko") return Language::Korean;
  if (name == "en") return Language::English;
  return std::nullopt;
}

Language LanguageOfLocale(const char* locale) {
  // "ko", "ko_KR.UTF-8", "ko.eucKR", "ko@...": not "kok_IN" (Konkani).
  std::string_view name = locale ? locale : "";
  bool korean = name.substr(0, 2) == "ko" && (name.size() == 2 || std::strchr("_.@", name[2]));
  return korean ? Language::Korean : Language::English;
}

Language StartLanguage(int argc, char** argv) {
  const std::string_view kOption = "--lang", kJoined = "--lang=";
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    std::optional<Language> named;
    if (argument == kOption && i + 1 < argc) named = LanguageNamed(argv[i + 1]);
    if (argument.substr(0, kJoined.size()) == kJoined)
      named = LanguageNamed(argument.substr(kJoined.size()));
    if (named) return *named;
  }
  return LocaleLanguage();
}

void SetLanguage(Language language) { current = language; }

Language CurrentLanguage() { return current; }

const char* Tr(const char* english) {
  if (current == Language::English) return english;
  static const std::unordered_map<std::string_view, const char*> korean = [] {
    std::unordered_map<std::string_view, const char*> map;
    for (const Translation& t : Translations()) map.emplace(t.english, t.korean);
    return map;
  }();
  auto found = korean.find(english);
  return found == korean.end() ? english : found->second;
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> parts) {
  std::string text;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    bool inOrder = pattern.substr(i, 2) == "{}";
    bool numbered = i + 2 < pattern.size() && pattern[i] == '{' && pattern[i + 1] >= '0' &&
                    pattern[i + 1] <= '9' && pattern[i + 2] == '}';
    if (!inOrder && !numbered) {
      text += pattern[i];
      continue;
    }
    size_t part = inOrder ? next++ : size_t(pattern[i + 1] - '0');
    if (part < parts.size()) text += *(parts.begin() + part);
    i += inOrder ? 1 : 2;
  }
  return text;
}

std::string NumberText(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

const std::vector<Translation>& Translations() {
  static const std::vector<Translation> kAll = {
      {"expected an object", "객체({ ... })가 와야 합니다"},
      {"expected a number", "숫자가 와야 합니다"},
      {"expected a whole number", "정수가 와야 합니다"},
      {"expected a text", "문자열이 와야 합니다"},
      {"expected a point [x, y]", "점 [x, y]가 와야 합니다"},
      {"expected \"figure\" or \"title\"", "\"figure\" 또는 \"title\"이 와야 합니다"},
      {"unknown field", "알 수 없는 항목입니다"},
      {"missing", "빠져 있습니다"},
      {"the number {} is out of range", "숫자 {}는 범위를 벗어납니다"},
      {"is not a drawing (a JSON object, { ... }): a script? The drawing comes first: vekhost "
       "DRAWING.json SCRIPT",
       "도면(JSON 객체, { ... })이 아닙니다: 스크립트입니까? 도면이 먼저 옵니다: vekhost 도면.json "
       "스크립트"},
      {"is not a drawing (a JSON object, { ... })", "도면(JSON 객체, { ... })이 아닙니다"},
      {"expected a positive size", "0보다 큰 크기가 와야 합니다"},
      {"{}: is a folder, not a file", "{}: 파일이 아니라 폴더입니다"},
      {"{}: cannot be read", "{}: 읽을 수 없습니다"},
      {"expected a name without blanks", "빈칸 없는 이름이 와야 합니다"},
      {"\"{}\" is used twice", "\"{}\"이(가) 두 번 쓰였습니다"},
      {"expected a dimension type: 12 to 15, 17, 22 to 26",
       "치수 종류가 와야 합니다: 12~15, 17, 22~26"},
      {"expected a drawing, a JSON object ({ ... }), not a list",
       "목록이 아니라 도면(JSON 객체, { ... })이 와야 합니다"},
      {"expected a drawing, a JSON object ({ ... }), not a single value",
       "값 하나가 아니라 도면(JSON 객체, { ... })이 와야 합니다"},
      {"expected a list", "목록([ ... ])이 와야 합니다"},
      {"Show this help and stop", "이 도움말을 보이고 끝냅니다"},
      {"Options", "옵션"},
      {"Usage", "사용법"},
      {"Positionals", "인자"},
      {"OPTIONS", "옵션"},
      {"The drawing, a JSON file", "도면: JSON 파일"},
      {"The events, one a line; without it, the terminal's",
       "이벤트: 한 줄에 하나씩; 없으면 터미널에서 입력"},
      {"The plug-in to load (default: the one beside vekhost)",
       "불러올 플러그인 (기본: vekhost 옆의 것)"},
      {"Where the resulting drawing goes (default: DRAWING.result.json here)",
       "결과 도면을 쓸 곳 (기본: 여기의 도면.result.json)"},
      {"Where the picture goes (default: DRAWING.svg here)",
       "그림을 쓸 곳 (기본: 여기의 도면.svg)"},
      {"Show every call the plug-in makes to the host",
       "플러그인이 호스트에 하는 호출을 모두 보입니다"},
      {"The file that keeps the settings (Linux; default: $WINSTUB_REGISTRY or "
       "~/.config/vekhost/registry.reg)",
       "설정을 보관하는 파일 (Linux; 기본: $WINSTUB_REGISTRY 또는 ~/.config/vekhost/registry.reg)"},
      {"Show where the settings are and what they hold", "설정이 있는 곳과 그 값을 보입니다"},
      {"Delete the stored settings, so that the defaults come back",
       "저장된 설정을 지워 기본값으로 되돌립니다"},
      {"Play the session in a web browser: a local server on port 8750 (or the next free one); "
       "Linux",
       "웹 브라우저에서 세션을 진행합니다: 포트 8750(또는 다음 빈 포트)의 로컬 서버; Linux"},
      {"The port for --serve (an error when it is taken)", "--serve의 포트 (사용 중이면 오류)"},
      {"The address --serve listens on (default 127.0.0.1, this machine alone)",
       "--serve가 기다리는 주소 (기본 127.0.0.1, 이 컴퓨터만)"},
      {"The language of vekhost's own texts: ko (Korean) or en (English); default: the locale's "
       "(LANG)",
       "vekhost 자신의 문구 언어: ko(한국어) 또는 en(영어); 기본: 로캘(LANG)을 따름"},
      {"no drawing given (see vekhost --help)", "도면이 주어지지 않았습니다 (vekhost --help 참고)"},
      {"--serve is a feature of the Linux build of vekhost",
       "--serve는 Linux용 vekhost의 기능입니다"},
      {"--serve takes the events from the browser: no script with it",
       "--serve는 이벤트를 브라우저에서 받습니다: 스크립트와 함께 쓸 수 없습니다"},
      {"{} (see vekhost --help)", "{} (vekhost --help 참고)"},
      {"{}: cannot be written: {} is not a folder", "{}: 쓸 수 없습니다: {}은(는) 폴더가 아닙니다"},
      {"{}: cannot be written: {} does not exist", "{}: 쓸 수 없습니다: {}이(가) 없습니다"},
      {"{}: cannot be written: {}", "{}: 쓸 수 없습니다: {}"},
      {"note:", "주기:"},
      {"drawing:", "도면:"},
      {"picture:", "그림:"},
      {"new, at {1}, {2} in the title frame", "새 주기, 표제프레임의 {1}, {2}"},
      {"new, at {1}, {2} in the figure frame", "새 주기, 도형프레임의 {1}, {2}"},
      {"changed: {0}, at {1}, {2} in the title frame", "바뀜: {0}, 표제프레임의 {1}, {2}"},
      {"changed: {0}, at {1}, {2} in the figure frame", "바뀜: {0}, 도형프레임의 {1}, {2}"},
      {"expected {}", "{}이(가) 와야 합니다"},
      {"a comment (#) takes a line of its own", "주석(#)은 한 줄을 따로 씁니다"},
      {"the number for {} is out of range: {}", "{}의 숫자가 범위를 벗어납니다: {}"},
      {"expected a number for {}, not \"{}\"", "{}에는 \"{}\"이(가) 아니라 숫자가 와야 합니다"},
      {"the drawing has no element \"{}\"", "도면에 \"{}\" 요소가 없습니다"},
      {"pick an element by its name (at its middle, or at X Y)",
       "이름으로 요소를 선택 (가운데에서, 또는 X Y에서)"},
      {"a data point, on the named element or on none",
       "데이터 포인트, 이름 붙은 요소 위 또는 빈 곳"},
      {"the cursor moves to X Y", "커서가 X Y로 움직임"},
      {"the further position event (kind 3)", "추가 위치 이벤트 (종류 3)"},
      {"typed text: the rest of the line, blanks included",
       "입력한 문자열: 줄의 나머지, 빈칸 포함"},
      {"the end button", "종료버튼"},
      {"start the command again once it has ended", "명령이 끝난 뒤 다시 시작"},
      {"in the settings dialog, which the end button at the width step opens: choose position N of "
       "a list ({})",
       "가로 단계에서 종료버튼으로 여는 설정 대화상자에서: 목록의 N번째 항목 선택 ({})"},
      {"click {}", "클릭: {}"},
      {"replace an edit box's text with the rest of the line ({}); every control also goes by its "
       "setting's registry name: dialog type MTitle *, dialog click Font-1",
       "입력란의 문자열을 줄의 나머지로 바꿈 ({}); 모든 컨트롤은 설정의 레지스트리 이름으로도 부를 "
       "수 있음: dialog type MTitle *, dialog click Font-1"},
      {"list the drawing's elements", "도면의 요소 목록"},
      {"show the settings dialog's form again", "설정 대화상자의 모양을 다시 보기"},
      {"a comment; blank lines are skipped too", "주석; 빈 줄도 건너뜀"},
      {"dialog: expected select, click or type", "dialog: select, click 또는 type이 와야 합니다"},
      {"dialog {}: expected one of {}", "dialog {}: 다음 중 하나가 와야 합니다: {}"},
      {"a position", "위치"},
      {"dialog select {}: expected a position from 0 to {}",
       "dialog select {}: 0부터 {}까지의 위치가 와야 합니다"},
      {"pick: expected an element's name", "pick: 요소의 이름이 와야 합니다"},
      {"point: expected \"on NAME\"", "point: \"on 이름\"이 와야 합니다"},
      {"unknown event \"{}\" ({})", "알 수 없는 이벤트 \"{}\" ({})"},
      {"unexpected \"{}\"", "뜻밖의 \"{}\""},
      {"warning: listening on {}: other machines may reach this session; they need the address "
       "below, which holds its token",
       "경고: {}에서 기다립니다: 다른 컴퓨터가 이 세션에 접속할 수 있습니다; 토큰이 든 아래 주소가 "
       "있어야 합니다"},
      {"serving the session at {}  (Ctrl-C or the page's Quit ends it)",
       "세션 주소: {}  (Ctrl-C 또는 페이지의 종료로 끝냄)"},
      {"the session has ended; the page still shows it (Ctrl-C stops the server)",
       "세션이 끝났습니다; 페이지에는 그대로 보입니다 (Ctrl-C로 서버를 멈춤)"},
      {"(the step does not take this event)", "(이 단계는 이 이벤트를 받지 않습니다)"},
      {"(the step's filter does not take that element)",
       "(이 단계의 선택 필터가 그 요소를 받지 않습니다)"},
      {"(no command runs: \"start\" runs it again)",
       "(실행 중인 명령이 없습니다: \"start\"로 다시 실행)"},
      {"command 가로x세로x높이 starts", "명령 가로x세로x높이 시작"},
      {"the command was still running: it ends here",
       "명령이 아직 실행 중이었습니다: 여기서 끝냅니다"},
      {"(no dialog is open: the end button at the width step opens it)",
       "(열린 대화상자가 없습니다: 가로 단계의 종료버튼으로 엽니다)"},
      {"the settings dialog could not be shown (no display?): nothing changed",
       "설정 대화상자를 보일 수 없습니다 (디스플레이가 없습니까?): 바뀐 것이 없습니다"},
      {"frame: the title frame is current", "프레임: 표제프레임이 현재 프레임입니다"},
      {"frame: the figure frame is current", "프레임: 도형프레임이 현재 프레임입니다"},
      {"command ended", "명령 끝"},
      {"dialog closed: Cancel", "대화상자 닫힘: 취소"},
      {"dialog closed: OK, settings saved", "대화상자 닫힘: 확인, 설정 저장됨"},
      {"dialog closed: OK, the settings are in force but could not be stored",
       "대화상자 닫힘: 확인, 설정은 적용되었으나 저장하지 못했습니다"},
      {"(the settings dialog is open: dialog click ok or dialog click cancel closes it)",
       "(설정 대화상자가 열려 있습니다: dialog click ok 또는 dialog click cancel로 닫습니다)"},
      {"dimension (type {}), measure {}, a diameter", "치수 (종류 {}), 치수값 {}, 지름"},
      {"dimension (type {}), measure {}", "치수 (종류 {}), 치수값 {}"},
      {"general note", "일반주기"},
      {"note", "주기"},
      {"element of type {} (not a dimension)", "종류 {}의 요소 (치수 아님)"},
      {"note written:", "주기 씀:"},
      {"preview: {} at {}, {}", "미리보기: {}, 위치 {}, {}"},
      {"settings could not be stored:", "설정을 저장하지 못했습니다:"},
      {"prompt:", "프롬프트:"},
      {"error:", "오류:"},
      {"cursor:", "커서:"},
      {"{} (a number)", "{} (숫자)"},
      {"(of type {}: the default is used)", "(종류 {}: 기본값을 씀)"},
      {"no item of the list, which has 0 to {}", "목록에 없는 항목 (목록은 0부터 {}까지)"},
      {"the list's \"{}\"", "목록의 \"{}\""},
      {"the {} button", "\"{}\" 단추"},
      {"read as {}: notes of no size, which no one sees",
       "읽은 값 {}: 크기가 없어 보이지 않는 주기"},
      {"read as {}", "읽은 값 {}"},
      {"{}: cannot be moved aside: {}", "{}: 옮겨 둘 수 없습니다: {}"},
      {"settings:", "설정:"},
      {"HKEY_CURRENT_USER\\{} in {}", "HKEY_CURRENT_USER\\{} ({} 안)"},
      {"none stored yet: the first command start writes the defaults",
       "아직 저장된 것이 없습니다: 처음 명령을 시작할 때 기본값을 씁니다"},
      {"(missing)", "(없음)"},
      {"\"{}\": no setting has this name; the plug-in does not read it",
       "\"{}\": 이런 이름의 설정은 없습니다; 플러그인이 읽지 않습니다"},
      {"warning: the stored {} {} gives notes of no size, which no one sees (the dialog's 치수문자 "
       "크기)",
       "경고: 저장된 {} {}(으)로는 크기가 없어 보이지 않는 주기가 됩니다 (대화상자의 치수문자 "
       "크기)"},
      {"warning: the settings hold \"{}\", which no setting is named: a misspelling? (vekhost "
       "--settings lists them)",
       "경고: 설정에 \"{}\"이(가) 있으나 그런 이름의 설정은 없습니다: 철자가 틀렸습니까? (vekhost "
       "--settings로 목록을 봄)"},
      {"settings other than the defaults: {} (vekhost --reset-settings brings the defaults back)",
       "기본값과 다른 설정: {} (vekhost --reset-settings로 기본값을 되돌림)"},
      {"Type events (help lists them), quit to stop.",
       "이벤트를 입력하십시오 (help: 목록, quit: 끝)."},
      {"line {}", "{}번째 줄"},
      {"--registry {}: is a folder, not a file", "--registry {}: 파일이 아니라 폴더입니다"},
      {"--registry {}: {} is not a folder (nothing was created)",
       "--registry {}: {}은(는) 폴더가 아닙니다 (아무것도 만들지 않았습니다)"},
      {"--registry {}: {} does not exist (nothing was created)",
       "--registry {}: {}이(가) 없습니다 (아무것도 만들지 않았습니다)"},
      {"--registry: the Windows build keeps the settings in the Windows registry "
       "(HKEY_CURRENT_USER\\{}), not in a file",
       "--registry: Windows용은 설정을 파일이 아니라 Windows 레지스트리(HKEY_CURRENT_USER\\{})에 "
       "보관합니다"},
      {"{}: the settings file is left as it is (vekhost --reset-settings keeps it as a .bak file "
       "and starts again from the defaults)",
       "{}: 설정 파일은 그대로 둡니다 (vekhost --reset-settings는 이를 .bak 파일로 남기고 "
       "기본값으로 다시 시작합니다)"},
      {"kept as {}", "남긴 곳: {}"},
      {"{} {} is {}: vekhost never writes over its input ({} names another file)",
       "{} {}은(는) {}입니다: vekhost는 입력 파일에 덮어쓰지 않습니다 ({}로 다른 파일을 지정)"},
      {"{} {} and {} {} are one file ({} or {} names another)",
       "{} {}와(과) {} {}은(는) 같은 파일입니다 ({} 또는 {}로 다른 파일을 지정)"},
      {"the drawing", "도면"},
      {"the script", "스크립트"},
      {"the result file", "결과 파일"},
      {"the picture", "그림"},
      {"the settings file", "설정 파일"},
      {"{}: is a Linux library; vekhost.exe loads the Windows build's {}",
       "{}: Linux용 라이브러리입니다; vekhost.exe는 Windows용 {}을(를) 불러옵니다"},
      {"{}: is a Windows DLL; vekhost on Linux loads the Linux build's {}",
       "{}: Windows DLL입니다; Linux의 vekhost는 Linux용 {}을(를) 불러옵니다"},
      {"{}: Startup returned {}", "{}: Startup이 {}을(를) 돌려주었습니다"},
      {"plug-in:", "플러그인:"},
      {"the settings could not be deleted", "설정을 지울 수 없습니다"},
      {"settings reset: the next command start writes the defaults",
       "설정 초기화: 다음 명령 시작 때 기본값을 씁니다"},
      {"internal error:", "내부 오류:"},
      {"internal error", "내부 오류"},
      {"title frame (current)", "표제프레임 (현재)"},
      {"title frame", "표제프레임"},
      {"figure frame (current)", "도형프레임 (현재)"},
      {"figure frame", "도형프레임"},
      {"a note of no height: {}", "높이가 없는 주기: {}"},
      {"is UTF-16 cut in the middle of a character: {1}",
       "UTF-16인데 문자 중간에서 잘렸습니다: {1}"},
      {"seems to be UTF-16 without a byte-order mark: {1}, or as UTF-16 with its mark",
       "바이트 순서 표시(BOM) 없는 UTF-16으로 보입니다: {1} (BOM 있는 UTF-16도 됩니다)"},
      {"holds NUL bytes: it is no text file", "NUL 바이트가 들어 있습니다: 텍스트 파일이 아닙니다"},
      {"is in the Korean Windows code page (CP949, \"ANSI\"), not UTF-8: {1}",
       "UTF-8이 아니라 한국어 Windows 코드 페이지(CP949, \"ANSI\")로 되어 있습니다: {1}"},
      {"is not UTF-8 text (byte {0}): {1}", "UTF-8 텍스트가 아닙니다 ({0}번째 바이트): {1}"},
      {"save it as UTF-8 (Notepad: Save As, Encoding UTF-8)",
       "UTF-8로 저장하십시오 (메모장: 다른 이름으로 저장, 인코딩 UTF-8)"},
  };
  return kAll;
}

} // namespace vekhost
