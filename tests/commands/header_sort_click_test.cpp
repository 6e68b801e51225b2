// The session's side of a sort click: the table decides whether it sorts,
// for the window and kartex-cli alike.

#include "session_fixture.h"

namespace kartex::testing {
namespace {

using HeaderSortClickTest = SessionTest;

TEST_F(HeaderSortClickTest, OneDataRowKeepsItsKeysAndRows) {
  // Given a log of one contact,
  ASSERT_EQ(Load({"CALL,DXCC", "SP1AA,269"}), LoadOutcome::Loaded);
  // when its header is clicked, nothing sorts and no key is made.
  EXPECT_FALSE(session.HeaderSortClick(0, false));
  EXPECT_EQ(session.Sort().SortIndex().Count(), 0);
  EXPECT_FALSE(windows.busy);
}

TEST_F(HeaderSortClickTest, TwoDataRowsSortUnderTheHourglassAndBringTheCursorBack) {
  ASSERT_EQ(Load({"CALL,DXCC", "SP2BB,269", "SP1AA,269"}), LoadOutcome::Loaded);
  EXPECT_TRUE(session.HeaderSortClick(0, false));
  EXPECT_EQ(Column(0), "SP1AA|SP2BB");
  EXPECT_EQ(session.Sort().SortIndex().Count(), 1);
  EXPECT_FALSE(windows.busy);
}

TEST_F(HeaderSortClickTest, ARejectedLoadTakesNoClicksThoughOldKeysStay) {
  // Given a sorted log,
  ASSERT_EQ(Load({"CALL,DXCC", "SP2BB,269", "SP1AA,269"}), LoadOutcome::Loaded);
  ASSERT_TRUE(session.HeaderSortClick(1, false));
  // when a file with a header only is rejected,
  ASSERT_EQ(Load({"CALL,DXCC"}, "empty.csv"), LoadOutcome::Rejected);
  // then a click changes nothing, and the key of the earlier log stays.
  EXPECT_FALSE(session.HeaderSortClick(0, true));
  ASSERT_EQ(session.Sort().SortIndex().Count(), 1);
  EXPECT_EQ(session.Sort().SortIndex().Column(0), 1);
}

}  // namespace
}  // namespace kartex::testing
