#include "Help.h"

#include "Language.h"
#include "Script.h"

namespace vekhost {

namespace {

const char kGlossary[] =
    "\nEvents in the host's terms:\n"
    "  pick      EVT_PICK (1): an element picked through the step's filter (a left click on it)\n"
    "  point     EVT_POINT (2): a data point, on an element or on none (a left click)\n"
    "  motion    a cursor motion (EVT_POINT marked as motion): the note step shows a preview\n"
    "  further   kind 3, a further position event: the note step takes it as a data point,\n"
    "            the other steps do not take it (\"the step does not take this event\")\n"
    "  keyin     EVT_KEYIN (5): typed text, such as a length\n"
    "  end       EVT_END (7): the end button (a right click)\n"
    "  names     the drawing's elements; show: the settings form again; quit: stop\n"
    "\nPrompts and cursor texts:\n"
    "  가로치수선택 : (종료버튼:Dialog)  pick the width dimension; end opens the settings dialog\n"
    "  세로치수선택 :     pick the length dimension, give two points, or type the length\n"
    "  높이치수선택 :     pick the height dimension, give two points, or type the height;\n"
    "                    end leaves the height out\n"
    "  포인트 입력 :      give the second point (cursor 세로: of the length, 높이: of the height)\n"
    "  주기위치지시 혹은 주기선택 <종료버튼-표제프레임으로 변경> :\n"
    "                    point where the note goes, or pick a general note to replace its\n"
    "                    text; end switches to the title frame (도형프레임: the figure frame)\n"
    "  cursor 도형 / 표제  the figure frame / the title frame is current\n"
    "\nError lines:\n"
    "  치수치 검출에러(1). (2). (3).  the width / length / height dimension has no measure\n"
    "  치수주기 검출에러   the width dimension's texts cannot be read\n"
    "  치수속성 검출에러   the width dimension's mark cannot be read\n"
    "  잘못된 지시.        this step does not take that kind of indication: the command ends\n"
    "  주기속성 검출에러   the picked element is no note\n"
    "  일반주기를 선택하셔야 합니다.  pick a general note\n"
    "  주기생성 에러       the note could not be created: nothing was written\n"
    "\nThe settings dialog (가로x세로x높이):\n"
    "  자리수설정 (round)          decimals of the note: 0 to 3, or 치수값 그대로, as the\n"
    "                              dimensions show them\n"
    "  Ø 문자설정 (font-...)        the diameter sign: 외자등록 Ø사용, the registered character\n"
    "                              U+E000; 윈도우 폰트 Ø사용, the Windows font's U+E11D\n"
    "  치수문자 연결자 (connector)  the text between the measures\n"
    "  치수문자 크기 (width, height, pitch)  the new note's character size\n"
    "  배치위치(기준점에서) X축 Y축 (x, y)  the new note's offset from the indicated point\n"
    "  프레임이동(치수선택시 / 주기입력시 / 명령종료후) (frame-dim / frame-char / frame-cmd)\n"
    "                              the frame at the start / at the note step / after the\n"
    "                              command: 도형프레임으로 이동 the figure frame, 표제프레임으로\n"
    "                              이동 the title frame, 현재프레임 그대로 as it is, 프레임\n"
    "                              원래대로 back to the frame of the start\n"
    "  전주기 (prefix)             a text put in front of the note\n"
    "  확인 / 취소 (ok / cancel)   OK / Cancel\n";

const char kGlossaryKorean[] =
    "\n호스트의 용어로 본 이벤트:\n"
    "  pick      EVT_PICK (1): 단계의 필터를 거쳐 선택한 요소 (요소 위에서 왼쪽 클릭)\n"
    "  point     EVT_POINT (2): 요소 위 또는 빈 곳의 데이터 포인트 (왼쪽 클릭)\n"
    "  motion    커서 움직임 (motion 표시가 붙은 EVT_POINT): 주기 단계가 미리보기를 보임\n"
    "  further   종류 3, 추가 위치 이벤트: 주기 단계는 데이터 포인트로 받고,\n"
    "            다른 단계는 받지 않음 (\"이 단계는 이 이벤트를 받지 않습니다\")\n"
    "  keyin     EVT_KEYIN (5): 길이처럼 입력한 문자열\n"
    "  end       EVT_END (7): 종료버튼 (오른쪽 클릭)\n"
    "  names     도면의 요소; show: 설정 대화상자 모양 다시 보기; quit: 끝\n"
    "\n프롬프트와 커서 문자:\n"
    "  가로치수선택 : (종료버튼:Dialog)  가로 치수를 선택; 종료버튼은 설정 대화상자를 엶\n"
    "  세로치수선택 :     세로 치수를 선택하거나, 두 점을 주거나, 길이를 입력\n"
    "  높이치수선택 :     높이 치수를 선택하거나, 두 점을 주거나, 높이를 입력;\n"
    "                    종료버튼은 높이를 뺌\n"
    "  포인트 입력 :      두 번째 점을 줌 (커서 세로: 세로의 점, 높이: 높이의 점)\n"
    "  주기위치지시 혹은 주기선택 <종료버튼-표제프레임으로 변경> :\n"
    "                    주기를 둘 곳을 지시하거나, 문자열을 바꿀 일반주기를 선택;\n"
    "                    종료버튼은 표제프레임으로 바꿈 (도형프레임: 도형 프레임)\n"
    "  커서 도형 / 표제    도형프레임 / 표제프레임이 현재 프레임\n"
    "\n오류 줄:\n"
    "  치수치 검출에러(1). (2). (3).  가로 / 세로 / 높이 치수에 치수값이 없음\n"
    "  치수주기 검출에러   가로 치수의 문자열을 읽을 수 없음\n"
    "  치수속성 검출에러   가로 치수의 표시(지름 등)를 읽을 수 없음\n"
    "  잘못된 지시.        이 단계가 받지 않는 지시: 명령이 끝남\n"
    "  주기속성 검출에러   선택한 요소가 주기가 아님\n"
    "  일반주기를 선택하셔야 합니다.  일반주기를 선택해야 함\n"
    "  주기생성 에러       주기를 만들 수 없음: 아무것도 쓰지 않음\n"
    "\n설정 대화상자 (가로x세로x높이), 괄호 안은 dialog 이벤트의 이름:\n"
    "  자리수설정 (round)          주기의 소수 자리: 0~3, 또는 치수값 그대로 (치수에 보이는 대로)\n"
    "  Ø 문자설정 (font-...)        지름 기호: 외자등록 Ø사용은 등록 문자 U+E000,\n"
    "                              윈도우 폰트 Ø사용은 Windows 폰트의 U+E11D\n"
    "  치수문자 연결자 (connector)  치수값 사이에 넣는 문자\n"
    "  치수문자 크기 (width, height, pitch)  새 주기의 문자 크기\n"
    "  배치위치(기준점에서) X축 Y축 (x, y)  지시한 점에서 새 주기까지의 거리\n"
    "  프레임이동(치수선택시 / 주기입력시 / 명령종료후) (frame-dim / frame-char / frame-cmd)\n"
    "                              시작할 때 / 주기 단계에서 / 명령이 끝난 뒤의 프레임\n"
    "  전주기 (prefix)             주기 앞에 붙이는 문자\n"
    "  확인 / 취소 (ok / cancel)   확인 / 취소\n";

} // namespace

std::string Description() {
  if (CurrentLanguage() == Language::Korean)
    return "vekhost는 Vek CAD 프로그램이 하는 대로 TriSpan 플러그인을 불러와, 도면을 모의 "
           "호스트에\n"
           "넣고 세션을 진행합니다: 스크립트의 이벤트, 또는 터미널에서 입력한 이벤트.\n"
           "명령이 내는 프롬프트, 커서 문자, 오류를 모두 보이고, 끝나면 도면을 JSON(새 주기와\n"
           "바뀐 주기)과 SVG 그림으로 씁니다.\n\n"
           "도면 파일은 JSON입니다 (docs/drawing-format.md와 examples/ 참고). 스크립트는 한 줄에\n"
           "이벤트 하나입니다:\n" +
           ScriptGrammar() +
           "스크립트가 없으면 터미널에서 이벤트를 읽습니다 (help는 한국어 프롬프트와 대화상자도\n"
           "설명하고, quit로 끝냅니다).\n\n"
           "종료 상태: 0 완료; 1 플러그인을 불러오거나 등록할 수 없음; 2 잘못된 옵션이나 입력 "
           "파일\n"
           "(설정 파일 포함); 3 결과나 설정을 쓸 수 없음; 70 예기치 않은 내부 오류.";
  return "vekhost loads the TriSpan plug-in the way the Vek CAD program does, puts a drawing into "
         "a\nsimulated host and plays a session: the events of a script, or those typed at the "
         "terminal.\nIt shows every prompt, cursor text and error the command puts, and writes the "
         "drawing\nafterwards as JSON (new and changed notes) and as an SVG picture.\n\n"
         "Drawing files are JSON (see docs/drawing-format.md and examples/). A script has one "
         "event\na line:\n" +
         ScriptGrammar() +
         "Without a script, events are read from the terminal (help also explains the Korean\n"
         "prompts and the dialog, quit stops).\n\n"
         "Exit status: 0 done; 1 the plug-in could not be loaded or registered; 2 bad options or\n"
         "input files (the settings file included); 3 the results or the settings could not be\n"
         "written; 70 an unexpected internal error.";
}

const char* Glossary() {
  return CurrentLanguage() == Language::Korean ? kGlossaryKorean : kGlossary;
}

} // namespace vekhost
