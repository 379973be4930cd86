// What the game writes to its log: a line for each failed fetch with the address, the cause and
// the time it took, one when a turn gives up, nothing when all is well, and never a flood.
#include <chrono>
#include <string>
#include <vector>

#include "session/line_limit.h"
#include "session/log_categories.h"
#include "session/warning_log.h"
#include "session_fixture.h"
#include "tests/support/captured_log.h"

namespace {

using namespace std::chrono_literals;
using testsupport::CapturedLog;
using testsupport::ServedPack;

class LogLines : public SessionTest {
 protected:
  std::string Url(const std::string& name) const { return pack_.server.BaseUrl() + name; }
  // Every line says the request, the time and the cause, and names the file of each.
  static void ExpectFailures(const std::vector<std::string>& lines, const std::string& url,
                             const std::string& cause) {
    for (const std::string& line : lines) {
      EXPECT_TRUE(line.starts_with("GET " + url + " failed after ")) << line;
      EXPECT_NE(line.find(" ms: " + cause), std::string::npos) << line;
    }
  }
};

TEST_F(LogLines, TurnsAndClicksThatGoWellWriteNothing) {
  CapturedLog log;
  ASSERT_TRUE(session_.PlayTurn());
  ASSERT_EQ(session_.Click(1), session::ClickOutcome::kJudged);
  session_.SetAutomaticStepping(false);
  session_.SetMixedOrder(true);
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_TRUE(log.All().empty()) << log.All().front().text;
}

TEST_F(LogLines, AMissingPictureWritesALineAnAttemptAndTheTurnOneMore) {
  CapturedLog log;
  const std::string missing = ServedPack::CellName(3, 3);  // a choice: every attempt needs it
  pack_.Remove(missing);
  ASSERT_FALSE(session_.PlayTurn());
  const std::vector<std::string> http = log.Of("dravel.http");
  EXPECT_EQ(http.size(), 3u);
  ExpectFailures(http, Url(missing), "HTTP status 404");
  EXPECT_EQ(log.Of("dravel.turn"),
            std::vector<std::string>{"a turn gave up after 3 failed attempts"});
  EXPECT_EQ(log.All().size(), 4u) << "nothing else";
  for (const auto& line : log.All()) EXPECT_EQ(line.type, QtWarningMsg);
}

TEST_F(LogLines, APageInsteadOfAPictureIsAPictureLine) {
  CapturedLog log;
  pack_.Serve("no.jpg", "<html><body>Not found</body></html>");
  PlantCurrentCode(123456);
  EXPECT_EQ(session_.Click(1), session::ClickOutcome::kStopped);
  ASSERT_EQ(log.All().size(), 1u);
  ExpectFailures(log.Of("dravel.picture"), Url("no.jpg"),
                 "not a JPEG picture: Not a JPEG file: starts with 0x3c 0x68");
}

TEST(LineLimit, LetsABurstThroughThenOneLineARefill) {
  using Clock = session::LineLimit::Clock;
  session::LineLimit limit;
  const Clock::time_point start{};
  for (int i = 0; i < session::LineLimit::kBurst; ++i) EXPECT_TRUE(limit.Allow(start)) << i;
  EXPECT_FALSE(limit.Allow(start));
  EXPECT_FALSE(limit.Allow(start + session::LineLimit::kRefill - 1ms));
  EXPECT_EQ(limit.TakeRefused(), 2);
  EXPECT_EQ(limit.TakeRefused(), 0);

  // A server failing without end: never more than one line a refill after the burst.
  int allowed = 0;
  for (auto at = start + session::LineLimit::kRefill; at < start + 10s; at += 10ms) {
    allowed += limit.Allow(at) ? 1 : 0;
  }
  EXPECT_EQ(allowed, 10s / session::LineLimit::kRefill - 1);

  // A quiet spell earns the whole burst back, and no more.
  const auto later = start + 1h;
  for (int i = 0; i < session::LineLimit::kBurst; ++i) EXPECT_TRUE(limit.Allow(later)) << i;
  EXPECT_FALSE(limit.Allow(later));
}

TEST(WarningLog, SaysHowManyLinesItHeldBackWithTheNextLineItWrites) {
  auto now = session::LineLimit::Clock::time_point{};
  session::WarningLog warnings([&now] { return now; });
  CapturedLog log;
  for (int i = 0; i < session::LineLimit::kBurst + 5; ++i) {
    warnings.Warn(session::lcHttp, "line " + std::to_string(i));
  }
  EXPECT_EQ(log.All().size(), std::size_t{session::LineLimit::kBurst});
  now += session::LineLimit::kRefill;
  warnings.Warn(session::lcTurn, "after a while");
  const auto lines = log.All();
  ASSERT_EQ(lines.size(), std::size_t{session::LineLimit::kBurst} + 2);
  EXPECT_EQ(lines[lines.size() - 2].text, "5 lines left out here: too many in a short time");
  EXPECT_EQ(lines.back().text, "after a while");
  EXPECT_EQ(lines.back().category, "dravel.turn");
}

TEST(WarningLog, ACategorySwitchedOffWritesNothingAndTakesNoShare) {
  QLoggingCategory::setFilterRules(QStringLiteral("dravel.http.warning=false"));
  session::WarningLog warnings([] { return session::LineLimit::Clock::time_point{}; });
  CapturedLog log;
  for (int i = 0; i < 3 * session::LineLimit::kBurst; ++i) warnings.Warn(session::lcHttp, "off");
  warnings.Warn(session::lcTurn, "on");
  QLoggingCategory::setFilterRules(QString());
  ASSERT_EQ(log.All().size(), 1u);
  EXPECT_EQ(log.All()[0].text, "on");
}

TEST(LogCategories, TraceOnlyWhenTheRulesSaySo) {
  EXPECT_TRUE(session::lcHttp().isWarningEnabled());
  EXPECT_FALSE(session::lcHttp().isDebugEnabled());
  QLoggingCategory::setFilterRules(QStringLiteral("dravel.*.debug=true"));
  EXPECT_TRUE(session::lcHttp().isDebugEnabled());
  EXPECT_TRUE(session::lcTurn().isDebugEnabled());
  QLoggingCategory::setFilterRules(QString());
  EXPECT_FALSE(session::lcPicture().isDebugEnabled());
}

}  // namespace
