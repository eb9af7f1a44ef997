// The page's own texts in Korean and English. The plug-in's prompts, cursor
// texts and error lines are shown as it writes them; what vekhost says (the
// refusals of the API, the hints of the host) comes as a code and is told
// here in the page's language.
'use strict';

const TEXTS = {
  ko: {
    'keyin': '키인 (Enter)',
    'end': '종료버튼',
    'end-title': '종료버튼 (도면에서 오른쪽 클릭)',
    'start': '시작',
    'start-title': '명령을 처음부터 다시 시작합니다',
    'fit': '전체 보기',
    'fit-title': '도면 전체를 봅니다 (Home)',
    'journal': '호스트 호출',
    'quit': '끝내기',
    'quit-title': '세션을 끝내고 결과 파일을 씁니다',
    'other-language': 'English',
    'language-title': 'Show the page in English',
    'drawing': '도면',
    'progress-title': '받은 도면 요소의 수',
    'notes': '주기',
    'help': '치수를 클릭하면 선택하고, 다른 곳을 클릭하면 데이터 포인트입니다 (Shift+클릭: 늘 데이터 포인트). '
      + '오른쪽 클릭: 종료버튼. 휠: 확대/축소. 가운데 버튼: 이동. Home: 전체 보기.',
    'host-calls': '호스트 호출',
    'ended': '세션이 끝났고 결과 파일을 썼습니다. 터미널에서 Ctrl-C를 누르면 서버가 멈춥니다.',
    'title-frame': '표제프레임',
    'figure-frame': '도형프레임',
    'frame-title': '현재 프레임',
    'current-frame': '(현재)',
    'command-ended': '명령이 끝났습니다. [시작]을 누르면 다시 합니다.',
    'note-new': '새 주기',
    'note-changed': '바꾼 주기',
    'refused:masked': '이 단계에서는 받지 않는 입력입니다.',
    'refused:filtered': '이 단계에서 선택할 수 없는 요소입니다.',
    'refused:not-running': '실행 중인 명령이 없습니다. [시작]을 누르십시오.',
    'api:busy': '세션이 바빠서 이 입력은 처리되지 않았습니다. 다시 하십시오.',
    'api:ended': '세션이 끝났습니다.',
    'api:stopping': '서버가 멈추는 중입니다.',
    'api:unreadable-event': '입력을 읽을 수 없습니다',
    'api:no-event': '입력이 비어 있습니다.',
    'api:dialog-open': '설정 대화상자가 열려 있습니다. [확인]이나 [취소]로 닫으십시오.',
    'api:no-dialog': '열린 대화상자가 없습니다.',
    'api:other': '서버가 거절했습니다',
  },
  en: {
    'keyin': 'key-in (Enter)',
    'end': 'End button',
    'end-title': 'the end button (right click on the drawing)',
    'start': 'Start',
    'start-title': 'start the command again from its first step',
    'fit': 'Fit sheet',
    'fit-title': 'the whole sheet in view (Home)',
    'journal': 'Journal',
    'quit': 'Quit',
    'quit-title': 'end the session and write its results',
    'other-language': '한국어',
    'language-title': '페이지를 한국어로 봅니다',
    'drawing': 'drawing',
    'progress-title': "the drawing's elements received",
    'notes': 'Notes',
    'help': 'Click a dimension to pick it; click elsewhere for a data point (Shift+click: always a '
      + 'data point); right click: the end button; wheel: zoom; middle button: pan; Home: the whole sheet.',
    'host-calls': 'Host calls',
    'ended': 'The session has ended; its results are written. Ctrl-C in the terminal stops the server.',
    'title-frame': 'title frame',
    'figure-frame': 'figure frame',
    'frame-title': 'the current frame',
    'current-frame': '(current)',
    'command-ended': 'The command has ended. Press Start to run it again.',
    'note-new': 'new note',
    'note-changed': 'changed note',
    'refused:masked': 'This step does not take that input.',
    'refused:filtered': 'This step cannot pick that element.',
    'refused:not-running': 'No command runs: press Start.',
    'api:busy': 'The session was busy and did not take this input: try again.',
    'api:ended': 'The session has ended.',
    'api:stopping': 'The server is stopping.',
    'api:unreadable-event': 'The input cannot be read',
    'api:no-event': 'The input is empty.',
    'api:dialog-open': 'The settings dialog is open: close it with OK or Cancel.',
    'api:no-dialog': 'No dialog is open.',
    'api:other': 'The server refused',
  },
};

// The language the page starts in: the one chosen last, else the browser's.
function startLanguage(stored, browserLanguage) {
  if (Object.hasOwn(TEXTS, stored || '')) return stored;
  return (browserLanguage || '').toLowerCase().startsWith('ko') ? 'ko' : 'en';
}

// A refusal of the API in the language: its code's text, and for an input
// that cannot be read the server's line that says why.
function refusalText(language, status, code, line) {
  const texts = TEXTS[language];
  if (code === 'unreadable-event') return `${texts['api:unreadable-event']}: ${line}`;
  if (texts[`api:${code}`]) return texts[`api:${code}`];
  return `${texts['api:other']} (${status}): ${line}`;
}

if (typeof module !== 'undefined') module.exports = { TEXTS, startLanguage, refusalText };
