#include "Help.h"

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

} // namespace

std::string Description() {
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

const char* Glossary() { return kGlossary; }

} // namespace vekhost
