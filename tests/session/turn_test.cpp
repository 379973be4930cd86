// One turn: the scheme, the choices, the next code and its task tiles; failed attempts.
#include <set>
#include <string>
#include <vector>

#include "game/code.h"
#include "session_fixture.h"

namespace {

using session::ChoiceSlot;
using session::Slot;
using session::TaskSlot;
using testsupport::ServedPack;

using Turn = SessionTest;

TEST_F(Turn, RequestsTheSchemeThenTheChoicesThenTheTaskInEitherStepping) {
  PlantNextCode(152637);
  ASSERT_TRUE(session_.PlayTurn());
  std::vector<std::string> expected{"shemoftask.txt"};
  for (int k = 0; k < 7; ++k) expected.push_back(ServedPack::CellName(k, k));
  for (const auto& [r, c] : {std::pair{0, 4}, {1, 5}, {2, 6}}) {
    expected.push_back(ServedPack::CellName(r, c));
  }
  EXPECT_EQ(pack_.Requested(), expected);
  EXPECT_EQ(Shown(TaskSlot(1)), ServedPack::CellName(0, 4));
  EXPECT_EQ(Shown(TaskSlot(3)), ServedPack::CellName(2, 6));
  EXPECT_EQ(Shown(ChoiceSlot(3)), ServedPack::CellName(2, 2)) << "the choices show the diagonal";
  EXPECT_EQ(Shown(Slot::kResult), "reading.jpg") << "automatic stepping leaves it alone";

  session_.SetAutomaticStepping(false);
  pack_.server.ClearRequests();
  ASSERT_TRUE(session_.PlayTurn());
  const auto hand = pack_.Requested();
  ASSERT_EQ(hand.size(), 12u);
  EXPECT_EQ(hand[0], "reading.jpg") << "hand stepping shows the waiting picture first";
  EXPECT_EQ(hand[1], "shemoftask.txt");
}

TEST_F(Turn, FixedOrderUsesTheSchemeAsItIsAndDrawsNothing) {
  const auto before = random_.State();
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_EQ(random_.State(), before);
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 7; ++c) EXPECT_EQ(State().ImageNames[r][c], ServedPack::CellName(r, c));
  EXPECT_EQ(session_.SchemeMemo().Text(), ServedPack::SchemeText());
}

TEST_F(Turn, MixedOrderPermutesTheColumnsOfEveryRowAlike) {
  session_.SetMixedOrder(true);
  bool moved = false;
  for (int turn = 0; turn < 5; ++turn) {
    game::RandomGenerator expected = random_;
    for (int i = 0; i < 14; ++i) expected.RandomBelow(7);
    ASSERT_TRUE(session_.PlayTurn());
    EXPECT_EQ(random_.State(), expected.State()) << "exactly 14 draws";

    std::set<int> columns;
    for (int c = 0; c < 7; ++c) {
      const std::string& top = State().ImageNames[0][c];
      const int from = top[top.size() - 5] - '0';  // "cell-0-<from>.jpg"
      columns.insert(from);
      moved |= from != c;
      for (int r = 0; r < 7; ++r)
        EXPECT_EQ(State().ImageNames[r][c], ServedPack::CellName(r, from));
    }
    EXPECT_EQ(columns.size(), 7u);
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(Shown(ChoiceSlot(k)), State().ImageNames[k - 1][k - 1]);
  }
  EXPECT_TRUE(moved);
}

TEST_F(Turn, AFailedAttemptKeepsWhatItDidAndSkipsItsTask) {
  const int index = State().TaskIndex;
  EXPECT_EQ(session_.NameLog().LineCount(), 49u);
  PlantNextCode(152637);
  pack_.Remove(ServedPack::CellName(0, 4));  // the first task tile of that code only
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_EQ(State().TaskIndex, index + 2) << "the failed task is skipped";
  EXPECT_EQ(session_.NameLog().LineCount(), 49u * 3) << "49 names per attempt, failed ones too";
  EXPECT_EQ(session_.NameLog().Line(49), ServedPack::CellName(0, 0));
}

TEST_F(Turn, AttemptsAreBoundedAndKeepWhatTheyReplaced) {
  const int index = State().TaskIndex;
  pack_.Remove(ServedPack::CellName(3, 3));  // every attempt fails at the fourth choice tile
  pack_.ServeJpeg(ServedPack::CellName(0, 0), 77);
  EXPECT_FALSE(session_.PlayTurn());
  EXPECT_EQ(State().TaskIndex, index) << "no attempt got as far as the next code";
  int scheme_requests = 0;
  for (const auto& name : pack_.Requested()) scheme_requests += name == "shemoftask.txt";
  EXPECT_EQ(scheme_requests, 3) << "three attempts";
  EXPECT_EQ(pack_.NameOf(session_.Shown()[ChoiceSlot(1)].picture.Data()),
            ServedPack::CellName(0, 0))
      << "the pictures already replaced stay replaced";

  pack_.ServeJpeg(ServedPack::CellName(3, 3), 33);
  EXPECT_TRUE(session_.PlayTurn());
  EXPECT_EQ(State().TaskIndex, index + 1);
  EXPECT_EQ(Shown(ChoiceSlot(4)), ServedPack::CellName(3, 3));
}

TEST_F(Turn, CodesThatCannotBePlayedAreSkipped) {
  const int index = State().TaskIndex;
  PlantNextCode(182345);  // a digit outside the table
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_EQ(State().TaskIndex, index + 2);

  State().TaskIndex = State().CodeCount - 1;  // the codes are used up: the sequence starts again
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_EQ(State().TaskIndex, 0);
  const auto d = game::SplitCodeDigits(game::TaskAt(State(), 0));
  EXPECT_EQ(Shown(TaskSlot(1)), ServedPack::CellName(d[0] - 1, d[1] - 1));
}

TEST_F(Turn, NamesLongerThanAnyFileNameAreNeverAskedForAndTheLogStaysBounded) {
  std::string scheme;
  for (int line = 0; line < 49; ++line) scheme += std::string(100'000, 'n') + "\r\n";
  pack_.server.ServeBytes("shemoftask.txt", scheme);
  for (int turn = 0; turn < 5; ++turn) EXPECT_FALSE(session_.PlayTurn());
  EXPECT_EQ(pack_.Requested(), std::vector<std::string>(15, "shemoftask.txt"));
  EXPECT_LE(session_.NameLog().Bytes(), session::NameLog::kBudgetBytes);
}

TEST_F(Turn, SchemeLengthDecidesWhatIsShown) {
  std::string long_scheme = ServedPack::SchemeText();
  for (int i = 0; i < 11; ++i) long_scheme += "extra-" + std::to_string(i) + ".jpg\r\n";
  pack_.server.ServeBytes("shemoftask.txt", long_scheme);
  ASSERT_TRUE(session_.PlayTurn());
  EXPECT_EQ(State().ImageNames[6][6], ServedPack::CellName(6, 6)) << "lines after 49 are ignored";

  const std::string scheme = ServedPack::SchemeText();
  pack_.server.ServeBytes("shemoftask.txt",
                          scheme.substr(0, scheme.size() - ServedPack::CellName(6, 6).size() - 2));
  EXPECT_FALSE(session_.PlayTurn());
  EXPECT_EQ(State().ImageNames[6][6], "");
  EXPECT_EQ(pack_.Requested().back(), "") << "an empty cell requests the bare folder";
}

}  // namespace
