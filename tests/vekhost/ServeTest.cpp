// The server's side of a session, in process and without a server: the state
// the page reads, the open dialog as its template lays it out, and the queue
// that hands each request to the plug-in's thread.
#include "VekhostSession.h"

#include "DialogPlayer.h"
#include "SessionQueue.h"
#include "StateViews.h"
#include "resource.h"

#include <nlohmann/json.hpp>

#include <thread>

namespace {

using nlohmann::json;

class ServeTest : public VekhostSessionTest {
protected:
  json State(size_t journalFrom = SIZE_MAX, bool ended = false) {
    std::ostringstream out;
    vekhost::Session session(drawing_, out, false);
    return vekhost::StateJson(drawing_, session, journalFrom, ended);
  }
};

TEST_F(ServeTest, TheStateShowsTheStepAndWhatItCanPick) {
  Play("pick width\npick length");
  json state = State();
  EXPECT_EQ(state["prompt"], "높이치수선택 :");
  EXPECT_EQ(state["cursor"], "");
  EXPECT_EQ(state["error"], "");
  EXPECT_EQ(state["frame"], "figure");
  EXPECT_EQ(state["running"], true);
  EXPECT_EQ(state["ended"], false);
  EXPECT_EQ(state["pickable"], json::array({"width", "length", "height", "bore"}));
  EXPECT_EQ(state["frames"]["title"]["origin"], json::array({207.0, 0.0}));
  EXPECT_EQ(state["frames"]["figure"]["size"], json::array({297.0, 210.0}));
  EXPECT_TRUE(state["dialog"].is_null());
  EXPECT_TRUE(state["preview"].is_null());
  EXPECT_EQ(state["journal"]["entries"], json::array()) << "asked for none";
  EXPECT_EQ(state["journal"]["from"], state["journal"]["size"]);
}

TEST_F(ServeTest, TheStateShowsNotesPreviewErrorsAndTheJournal) {
  Play("pick width\npick length\npick height\npoint 30 12\nstart\npick width\npick length\n"
       "pick height\nmotion 40 10");
  json state = State(3);
  ASSERT_EQ(state["notes"].size(), 1u);
  EXPECT_EQ(state["notes"][0]["readable"], "100X50X20");
  EXPECT_EQ(state["notes"][0]["new"], true);
  EXPECT_EQ(state["notes"][0]["name"], "");
  EXPECT_EQ(state["notes"][0]["at"], json::array({31.0, 12.0}));
  EXPECT_EQ(state["notes"][0]["frame"], "title");
  EXPECT_EQ(state["notes"][0]["height"], 4.0);
  EXPECT_EQ(state["preview"]["readable"], "100X50X20");
  EXPECT_EQ(state["preview"]["at"], json::array({41.0, 10.0}));
  EXPECT_EQ(state["pickable"], json::array({"size", "label"})) << "the note step picks notes";
  EXPECT_EQ(state["journal"]["from"], 3);
  EXPECT_EQ(state["journal"]["entries"].size(), size_t(SimJournalSize() - 3));
  EXPECT_EQ(state["journal"]["entries"][0], SimJournalEntry(3));
  SimFailCall("VekDimGetMeasure", 1);
  Play("pick width\nstart\npick bore");
  EXPECT_EQ(State()["error"], "치수치 검출에러(1).") << "the last error line";
  SimFailCall("VekDimGetMeasure", 0);
  Play("pick width");
  ASSERT_EQ(State()["running"], true);
  EXPECT_EQ(State(SIZE_MAX, true)["running"], false) << "an ended session runs nothing";
  EXPECT_EQ(State(SIZE_MAX, true)["pickable"], json::array()) << "an ended session picks nothing";
}

TEST_F(ServeTest, TheDialogShowsItsTemplateAndItsState) {
  json dialog;
  OnNextDialog([&](HWND window) {
    SelectListItem(window, IDC_ROUND, 1);
    dialog = vekhost::DialogJson(window);
    ClickButton(window, IDCANCEL);
  });
  StartWith();
  Send(EndButton());
  EXPECT_EQ(dialog["caption"], "가로x세로x높이");
  EXPECT_EQ(dialog["font"]["points"], 8);
  EXPECT_GT(dialog["size"][0].get<int>(), 0);
  std::map<std::string, json> byName;
  for (const json& control : dialog["controls"])
    if (control.contains("name")) byName[control["name"]] = control;
  EXPECT_EQ(byName["round"]["kind"], "combo");
  EXPECT_EQ(byName["round"]["selected"], 1);
  EXPECT_EQ(byName["round"]["items"].size(), 5u);
  EXPECT_EQ(byName["font-external"]["kind"], "button");
  EXPECT_EQ(byName["font-external"]["checked"], true);
  EXPECT_EQ(byName["font-windows"]["checked"], false);
  EXPECT_EQ(byName["connector"]["kind"], "edit");
  EXPECT_EQ(byName["connector"]["text"], "X");
  EXPECT_EQ(byName["connector"]["rect"].size(), 4u);
  EXPECT_EQ(byName["ok"]["text"], "확인");
  bool labels = false;
  for (const json& control : dialog["controls"]) labels |= control["kind"] == "static";
  EXPECT_TRUE(labels);
}

// The plug-in's thread takes the requests queued before it in order.
class QueueTest : public ServeTest {
protected:
  std::future<vekhost::WebReply> Push(vekhost::Task::Kind kind, const std::string& line = "") {
    vekhost::Task task;
    task.kind = kind;
    task.line = line;
    task.journalFrom = SIZE_MAX;
    std::future<vekhost::WebReply> reply = task.reply.get_future();
    queue_.Push(std::move(task));
    return reply;
  }
  std::future<vekhost::Picture> PushSvg() {
    vekhost::Task task;
    task.kind = vekhost::Task::Svg;
    std::future<vekhost::Picture> picture = task.picture.get_future();
    queue_.Push(std::move(task));
    return picture;
  }
  // Plays the queued requests until a Quit or Stop.
  bool Serve() {
    std::ostringstream out;
    vekhost::Session session(drawing_, out, false);
    session.Start();
    vekhost::QueueSource source(queue_, drawing_, session);
    session.Run(source);
    source.Ended();
    return source.Stopped();
  }
  vekhost::TaskQueue queue_;
};

TEST_F(QueueTest, EachRequestIsAnsweredInOrder) {
  auto state = Push(vekhost::Task::State);
  auto pick = Push(vekhost::Task::Event, "pick width");
  auto unknown = Push(vekhost::Task::Event, "pick depth");
  auto comment = Push(vekhost::Task::Event, "# nothing");
  auto action = Push(vekhost::Task::Event, "dialog click ok");
  auto svg = PushSvg();
  auto again = PushSvg();
  auto end = Push(vekhost::Task::Event, "pick length");
  auto changed = PushSvg();
  auto quit = Push(vekhost::Task::Quit);
  EXPECT_FALSE(Serve());
  EXPECT_EQ(json::parse(state.get().body)["prompt"], "가로치수선택 : (종료버튼:Dialog)");
  vekhost::WebReply picked = pick.get();
  EXPECT_EQ(picked.status, 200);
  EXPECT_EQ(json::parse(picked.body)["prompt"], "세로치수선택 :") << "the state after it";
  EXPECT_EQ(unknown.get().body, "the drawing has no element \"depth\"\n");
  EXPECT_EQ(comment.get().status, 400);
  vekhost::WebReply refused = action.get();
  EXPECT_EQ(refused.status, 409);
  EXPECT_EQ(refused.body, "no dialog is open: the end button at the width step opens it\n");
  vekhost::Picture picture = svg.get(), same = again.get(), later = changed.get();
  EXPECT_EQ(picture.svg->substr(0, 4), "<svg");
  EXPECT_EQ(picture.gzipped->substr(0, 2), "\x1f\x8b") << "gzip";
  EXPECT_EQ(same.svg, picture.svg) << "made once, shared";
  EXPECT_EQ(same.etag, picture.etag);
  EXPECT_NE(later.etag, picture.etag) << "an event may change it";
  EXPECT_EQ(end.get().status, 200);
  vekhost::WebReply quitted = quit.get();
  EXPECT_EQ(json::parse(quitted.body)["ended"], true);
}

TEST_F(QueueTest, WhileTheDialogIsOpenOnlyItsActionsAreTaken) {
  auto end = Push(vekhost::Task::Event, "end");
  auto pick = Push(vekhost::Task::Event, "pick width");
  auto show = Push(vekhost::Task::Event, "show");
  auto ok = Push(vekhost::Task::Event, "dialog click ok");
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  json opened = json::parse(end.get().body);
  EXPECT_EQ(opened["dialog"]["caption"], "가로x세로x높이") << "the answer shows the dialog";
  EXPECT_EQ(pick.get().status, 409);
  EXPECT_EQ(show.get().status, 200);
  EXPECT_TRUE(json::parse(ok.get().body)["dialog"].is_null());
}

// Stopped while the dialog is open: the dialog closes, the session ends,
// and the end button's request is answered once.
TEST_F(QueueTest, AStopWhileTheDialogIsOpenEndsTheSession) {
  auto end = Push(vekhost::Task::Event, "end");
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  EXPECT_EQ(end.get().status, 200);
}

TEST_F(QueueTest, AnEndedSessionAnswersEventsWith410) {
  std::ostringstream out;
  vekhost::Session session(drawing_, out, false);
  vekhost::QueueSource source(queue_, drawing_, session);
  auto event = Push(vekhost::Task::Event, "end");
  auto quit = Push(vekhost::Task::Quit);
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(source.ServeEnded());
  EXPECT_TRUE(source.ServeEnded());
  EXPECT_FALSE(source.ServeEnded()) << "Stop";
  EXPECT_EQ(event.get().status, 410);
  EXPECT_EQ(quit.get().body, "the session has ended\n");
}

// An event the plug-in's thread did not take in time is refused, and never
// played afterwards: a client that sends it again gets one note, not two.
TEST_F(QueueTest, AnEventNotTakenInTimeIsNeverPlayed) {
  vekhost::QueuePort port(queue_, std::chrono::milliseconds(20));
  vekhost::WebReply refused = port.Event("pick width");
  EXPECT_EQ(refused.status, 503);
  EXPECT_EQ(refused.body, "the session is busy: this was not played, send it again\n");
  auto state = Push(vekhost::Task::State);
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  EXPECT_EQ(json::parse(state.get().body)["prompt"], "가로치수선택 : (종료버튼:Dialog)");
}

TEST(QueuePortTest, AnEventTakenIsAnsweredHoweverLongItTakes) {
  vekhost::TaskQueue queue;
  vekhost::QueuePort port(queue, std::chrono::milliseconds(20));
  std::thread plugin([&] {
    vekhost::Task task = queue.Pop();
    ASSERT_TRUE(task.Take());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    task.reply.set_value({200, "application/json", "{}"});
  });
  EXPECT_EQ(port.Event("end").status, 200);
  plugin.join();
}

TEST(QueuePortTest, ACallWaitsForItsAnswer) {
  vekhost::TaskQueue queue;
  vekhost::QueuePort port(queue);
  std::thread plugin([&] {
    for (int i = 0; i < 4; ++i) {
      vekhost::Task task = queue.Pop();
      if (task.kind == vekhost::Task::Svg)
        task.picture.set_value({"\"t\"", std::make_shared<const std::string>("<svg/>"), nullptr});
      else
        task.reply.set_value({200 + task.kind, task.line, std::to_string(task.journalFrom)});
    }
  });
  EXPECT_EQ(port.State(5).status, 200 + vekhost::Task::State);
  EXPECT_EQ(port.State(5).body, "5");
  vekhost::WebReply event = port.Event("end");
  EXPECT_EQ(event.status, 200 + vekhost::Task::Event);
  EXPECT_EQ(event.type, "end");
  EXPECT_EQ(*port.Svg().svg, "<svg/>");
  plugin.join();
  EXPECT_EQ(vekhost::TextReply(503, "x").body, "x\n");
}

} // namespace
