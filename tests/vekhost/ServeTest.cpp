// The server's side of a session, in process and without a server: the state
// the page reads, the open dialog as its template lays it out, and the queue
// that hands each request to the plug-in's thread.
#include "VekhostSession.h"

#include "DialogPlayer.h"
#include "DrawingParts.h"
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
    return vekhost::StateJson(drawing_, session, 0, journalFrom, ended);
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
  EXPECT_EQ(state["rule"]["dimensions"], json::array({12, 13}))
      << "a pick reaches every dimension type the drawing has";
  EXPECT_EQ(state["rule"]["notes"], json::array());
  EXPECT_EQ(state["rule"]["elements"], json::array());
  EXPECT_EQ(state["rule"]["keyins"], true);
  EXPECT_EQ(state["rule"]["points"], true);
  EXPECT_EQ(state["rule"]["motion"], false);
  EXPECT_EQ(state["drawing"], (json{{"items", 7}, {"parts", 1}}));
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
  EXPECT_EQ(state["rule"]["notes"], json::array({32, 33})) << "the note step picks notes";
  EXPECT_EQ(state["rule"]["dimensions"], json::array());
  EXPECT_EQ(state["rule"]["motion"], true) << "the preview follows the cursor";
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
  json ended = State(SIZE_MAX, true)["rule"];
  EXPECT_EQ(ended["dimensions"], json::array()) << "an ended session picks nothing";
  EXPECT_EQ(ended["points"], false) << "nor takes anything else";
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
  std::future<vekhost::WebReply> Push(vekhost::Task::Kind kind, const std::string& line = "",
                                      std::optional<uint64_t> since = std::nullopt) {
    vekhost::Task task;
    task.kind = kind;
    task.line = line;
    task.journalFrom = SIZE_MAX;
    task.since = since;
    std::future<vekhost::WebReply> reply = task.reply.get_future();
    queue_.Push(std::move(task));
    return reply;
  }
  static json Body(std::future<vekhost::WebReply>& reply) { return json::parse(reply.get().body); }
  // The refusal's code, which the page tells in its own language.
  static std::string Code(const vekhost::WebReply& reply) {
    for (const auto& [name, value] : reply.headers)
      if (name == "Vekhost-Refusal") return value;
    return "";
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
  auto changes = Push(vekhost::Task::Changes, "", 0);
  auto end = Push(vekhost::Task::Event, "pick length");
  auto quit = Push(vekhost::Task::Quit);
  EXPECT_FALSE(Serve());
  json first = Body(state);
  EXPECT_EQ(first["prompt"], "가로치수선택 : (종료버튼:Dialog)");
  EXPECT_EQ(first["version"], 0);
  vekhost::WebReply picked = pick.get();
  EXPECT_EQ(picked.status, 200);
  json after = json::parse(picked.body);
  EXPECT_EQ(after["prompt"], "세로치수선택 :") << "the state after it";
  EXPECT_EQ(after["version"], 1);
  EXPECT_EQ(after["since"], 0) << "the version before it";
  EXPECT_EQ(after["notes"], json::array());
  EXPECT_FALSE(after.contains("frames")) << "what does not change is not sent again";
  vekhost::WebReply unreadable = unknown.get();
  EXPECT_EQ(unreadable.body, "the drawing has no element \"depth\"\n");
  EXPECT_EQ(Code(unreadable), "unreadable-event");
  vekhost::WebReply none = comment.get();
  EXPECT_EQ(none.status, 400);
  EXPECT_EQ(Code(none), "no-event");
  vekhost::WebReply refused = action.get();
  EXPECT_EQ(refused.status, 409);
  EXPECT_EQ(refused.body, "no dialog is open: the end button at the width step opens it\n");
  EXPECT_EQ(Code(refused), "no-dialog");
  EXPECT_EQ(Code(picked), "") << "an answer is no refusal";
  EXPECT_EQ(Body(changes)["version"], 1) << "refused events make no version";
  EXPECT_EQ(Body(end)["version"], 2);
  EXPECT_EQ(Body(quit)["ended"], true);
}

// An event's answer holds what changed since the version the page names:
// the notes written meanwhile (by another tab too), or a resync when the
// page is too far behind or names a version there has not been.
TEST_F(QueueTest, AnAnswerHoldsTheChangesSinceThePagesVersion) {
  const char* command[] = {"pick width", "pick length", "pick height", "point 30 12"};
  for (const char* line : command) Push(vekhost::Task::Event, line);
  auto fromStart = Push(vekhost::Task::Changes, "", 0);
  auto fromThird = Push(vekhost::Task::Changes, "", 3);
  auto current = Push(vekhost::Task::Changes, "", 4);
  auto ahead = Push(vekhost::Task::Changes, "", 5);
  auto restart = Push(vekhost::Task::Event, "start", 2);
  auto replace = Push(vekhost::Task::Event, "pick bore");
  Push(vekhost::Task::Event, "pick height");
  auto written = Push(vekhost::Task::Event, "pick size");
  auto all = Push(vekhost::Task::Changes, "", 0);
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  json start = Body(fromStart);
  ASSERT_EQ(start["notes"].size(), 1u);
  EXPECT_EQ(start["notes"][0]["readable"], "100X50X20");
  EXPECT_EQ(start["notes"][0]["new"], true);
  EXPECT_EQ(start["version"], 4);
  EXPECT_EQ(Body(fromThird)["notes"].size(), 1u) << "written by the fourth event";
  EXPECT_EQ(Body(current)["notes"], json::array()) << "nothing since";
  json unknown = Body(ahead);
  EXPECT_EQ(unknown["resync"], true) << "a version there has not been";
  EXPECT_FALSE(unknown.contains("notes"));
  EXPECT_EQ(Body(restart)["notes"].size(), 1u) << "since version 2, not since the event";
  EXPECT_EQ(Body(replace)["notes"], json::array()) << "without a version: the event's own";
  // The plug-in writes the note it replaces in a segment of its own, which
  // it removes again: that note is told as no longer written.
  json size = Body(written);
  ASSERT_EQ(size["notes"].size(), 2u) << size.dump();
  EXPECT_EQ(size["notes"][0]["written"], false);
  EXPECT_EQ(size["notes"][1]["name"], "size");
  EXPECT_EQ(size["notes"][1]["id"], drawing_.notes[0].id);
  json notes = Body(all)["notes"];
  EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                          [](const json& note) { return !note.contains("written"); }),
            2);
}

// What the plug-in did not take of an event, as a code the page tells in
// its language; cleared by the next event it takes.
TEST_F(QueueTest, AnAnswerSaysWhyThePlugInDidNotTakeTheEvent) {
  const std::pair<const char*, json> rows[] = {
      {"point 1 1", "masked"},      // the width step takes picks
      {"pick edge", "filtered"},    // of dimensions
      {"pick width", nullptr},      //
      {"pick size", "filtered"},    // a note, where the length step takes dimensions
      {"keyin 50", nullptr},        //
      {"pick height", nullptr},     //
      {"point 30 12", nullptr},     // the note written: the command ends
      {"point 1 1", "not-running"}, //
      {"names", nullptr},           // no event for the plug-in
      {"start", nullptr},
  };

  std::vector<std::future<vekhost::WebReply>> answers;
  for (const auto& row : rows) answers.push_back(Push(vekhost::Task::Event, row.first));
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  for (size_t i = 0; i < answers.size(); ++i)
    EXPECT_EQ(Body(answers[i])["refused"], rows[i].second) << rows[i].first;
}

// A page far behind is told to read the whole state, so that no answer
// grows with what happened meanwhile.
TEST_F(QueueTest, APageFarBehindIsToldToResync) {
  for (size_t i = 0; i <= vekhost::kMostChangedNotes; ++i)
    for (const char* line : {"start", "pick width", "keyin 5", "keyin 2", "point 9 9"})
      Push(vekhost::Task::Event, line);
  auto behind = Push(vekhost::Task::Changes, "", 0);
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  EXPECT_EQ(Body(behind)["resync"], true);
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
  vekhost::WebReply refused = pick.get();
  EXPECT_EQ(refused.status, 409);
  EXPECT_EQ(Code(refused), "dialog-open");
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
  vekhost::WebReply ended = quit.get();
  EXPECT_EQ(ended.body, "the session has ended\n");
  EXPECT_EQ(Code(ended), "ended");
}

// An event the plug-in's thread did not take in time is refused, and never
// played afterwards: a client that sends it again gets one note, not two.
TEST_F(QueueTest, AnEventNotTakenInTimeIsNeverPlayed) {
  vekhost::DrawingParts parts(drawing_, "m");
  vekhost::QueuePort port(queue_, parts, std::chrono::milliseconds(20));
  vekhost::WebReply refused = port.Event("pick width", std::nullopt);
  EXPECT_EQ(refused.status, 503);
  EXPECT_EQ(refused.body, "the session is busy: this was not played, send it again\n");
  EXPECT_EQ(Code(refused), "busy");
  auto state = Push(vekhost::Task::State);
  Push(vekhost::Task::Stop);
  EXPECT_TRUE(Serve());
  EXPECT_EQ(json::parse(state.get().body)["prompt"], "가로치수선택 : (종료버튼:Dialog)");
}

TEST(QueuePortTest, AnEventTakenIsAnsweredHoweverLongItTakes) {
  vekhost::TaskQueue queue;
  vekhost::Drawing drawing;
  vekhost::DrawingParts parts(drawing, "m");
  vekhost::QueuePort port(queue, parts, std::chrono::milliseconds(20));
  std::thread plugin([&] {
    vekhost::Task task = queue.Pop();
    ASSERT_TRUE(task.Take());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    task.reply.set_value({200, "application/json", "{}"});
  });
  EXPECT_EQ(port.Event("end", std::nullopt).status, 200);
  plugin.join();
}

TEST(QueuePortTest, ACallWaitsForItsAnswer) {
  vekhost::TaskQueue queue;
  vekhost::Drawing drawing;
  vekhost::DrawingParts parts(drawing, "m");
  vekhost::QueuePort port(queue, parts);
  std::thread plugin([&] {
    for (int i = 0; i < 4; ++i) {
      vekhost::Task task = queue.Pop();
      task.Answer({200 + task.kind, task.line,
                   std::to_string(task.journalFrom) + " " +
                       (task.since ? std::to_string(*task.since) : "-")});
    }
  });
  EXPECT_EQ(port.State(5).status, 200 + vekhost::Task::State);
  EXPECT_EQ(port.State(5).body, "5 -");
  vekhost::WebReply event = port.Event("end", 3);
  EXPECT_EQ(event.status, 200 + vekhost::Task::Event);
  EXPECT_EQ(event.type, "end");
  EXPECT_EQ(event.body, "0 3");
  EXPECT_EQ(port.Changes(7).body, "0 7");
  plugin.join();
  EXPECT_EQ(vekhost::TextReply(503, "x").body, "x\n");
}

// The drawing's parts, made once and shared, each in its JSON and gzip
// forms, without the plug-in's thread.
TEST_F(ServeTest, TheDrawingComesInParts) {
  vekhost::DrawingParts parts(drawing_, "mark");
  ASSERT_EQ(parts.Count(), 1u);
  vekhost::StoredBody part = parts.Part(0, false);
  ASSERT_TRUE(part.body);
  EXPECT_EQ(part.etag, "\"mark-0\"");
  EXPECT_FALSE(part.gzipped);
  vekhost::StoredBody gzipped = parts.Part(0, true);
  EXPECT_TRUE(gzipped.gzipped);
  EXPECT_EQ(gzipped.etag, part.etag) << "the same part";
  EXPECT_EQ(gzipped.body->substr(0, 2), "\x1f\x8b") << "gzip";
  EXPECT_EQ(parts.Part(0, true).body, gzipped.body) << "made once, shared";
  EXPECT_FALSE(parts.Part(1, true).body) << "past the last part";
  EXPECT_FALSE(parts.Part(1, false).body);
  json items = json::parse(*part.body)["items"];
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[0], json::parse(R"(["d", "width", 12, "figure", 20, 120, 120, 120, 0, "100"])"));
  EXPECT_EQ(items[3][9], "Ø30") << "a diameter's sign";
  EXPECT_EQ(items[4], json::parse(R"(["n", "size", 33, "title", 5, 8, 3.5, "SIZE: Ø"])"));
  EXPECT_EQ(items[6], json::parse(R"(["e", "edge", 1, "figure", 20, 50, 120, 50])"));
}

TEST(DrawingPartsTest, EachPartHoldsItsShareOfTheItems) {
  vekhost::Drawing drawing;
  drawing.elements.resize(2 * vekhost::kPartItems + 1);
  drawing.notes.resize(1);
  vekhost::DrawingParts parts(drawing, "m");
  ASSERT_EQ(parts.Count(), 3u);
  json first = json::parse(vekhost::DrawingPartJson(drawing, 0));
  EXPECT_EQ(first["parts"], 3);
  EXPECT_EQ(first["items"].size(), vekhost::kPartItems);
  EXPECT_EQ(first["items"][0][0], "n") << "the note first";
  EXPECT_EQ(first["items"][1][0], "e");
  json last = json::parse(vekhost::DrawingPartJson(drawing, 2));
  EXPECT_EQ(last["part"], 2);
  EXPECT_EQ(last["items"].size(), 2u);
  vekhost::Drawing empty;
  EXPECT_EQ(vekhost::DrawingParts(empty, "m").Count(), 0u);
}

} // namespace
