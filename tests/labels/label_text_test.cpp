// What a label says: the lines in the issue's words, each column's rule, the
// via line only for a manager's call sign, and logs that lack columns.

#include <gtest/gtest.h>

#include "labels/label_plan.h"
#include "labels/label_text.h"
#include "session_fixture.h"

namespace kartex::testing {
namespace {

class LabelTextTest : public SessionTest {
 protected:
  // The plain lines of every label, in label order, K contacts a label.
  std::vector<std::vector<std::string>> Labels(int perLabel = 4) {
    LabelContacts contacts(session.Table(), session.Log().callColumn);
    const LabelPlan plan = contacts.Plan(QslCardSheet(), {1, perLabel});
    std::vector<std::vector<std::string>> labels;
    for (const PlacedLabel& label : plan.Labels())
      labels.push_back(contacts.TextOf(label).PlainLines());
    return labels;
  }
};

using Lines = std::vector<std::string>;

TEST_F(LabelTextTest, LinesStandAsTheIssueWritesThem) {
  ASSERT_EQ(Load({"QSO_DATE,TIME_ON,BAND,MODE,CALL,RST_SENT,DXCC,QSL_VIA,QSL_RCVD",
                  "20240101,120000,20M,CW,DL1ABC,599,230,DL9MGR,N",
                  "20240102,0930,40M,SSB,DL1ABC,59,230,,N"}),
            LoadOutcome::Loaded);
  EXPECT_EQ(Labels(1),
            (std::vector<Lines>{
                {"To Radio: DL1ABC  (1/2)", "via DL9MGR", "Date        UTC   Band  Mode  RST",
                 "2024-01-01  1200  20M   CW    599", "PSE QSL"},
                {"To Radio: DL1ABC  (2/2)", "Date        UTC   Band  Mode  RST",
                 "2024-01-02  0930  40M   SSB   59", "PSE QSL"}}));
  // Both on one label: no part mark, the manager of either contact.
  EXPECT_EQ(Labels(2), (std::vector<Lines>{{"To Radio: DL1ABC", "via DL9MGR",
                                            "Date        UTC   Band  Mode  RST",
                                            "2024-01-01  1200  20M   CW    599",
                                            "2024-01-02  0930  40M   SSB   59", "PSE QSL"}}));
}

TEST_F(LabelTextTest, EachColumnFallsBackAsTheIssueSays) {
  // Given a log with SUBMODE and FREQ beside MODE and BAND, and dates that
  // are not eight digits.
  ASSERT_EQ(
      Load({"CALL,DXCC,QSO_DATE,TIME_ON,BAND,FREQ,MODE,SUBMODE,RST_SENT,QSL_RCVD",
            "SP1AA,269,20240315,1,,14.074,MFSK,FT4,-10,N",
            "SP1AA,269,2024-3-15,12345,6M,50.313,DIGI,,+05,y", "SP2BB,269,1.1.2024,0815,,,SSB,,,"}),
      LoadOutcome::Loaded);
  const auto labels = Labels();
  ASSERT_EQ(labels.size(), 2u);
  // UTC: the first four characters, however many there are; band: FREQ
  // when BAND is empty; mode: SUBMODE when it holds text.
  EXPECT_EQ(labels[0][2], "2024-03-15  1     14.074  FT4   -10");
  EXPECT_EQ(labels[0][3], "2024-3-15   1234  6M      DIGI  +05");
  // QSL_RCVD "y" on one contact of the label: thanks for the card.
  EXPECT_EQ(labels[0].back(), "TNX QSL");
  EXPECT_EQ(labels[1][2], "1.1.2024  0815        SSB");
  EXPECT_EQ(labels[1].back(), "PSE QSL");
}

TEST_F(LabelTextTest, MissingColumnsPrintEmpty) {
  ASSERT_EQ(Load({"CALL,DXCC", "SP1AA,269"}), LoadOutcome::Loaded);
  EXPECT_EQ(Labels(),
            (std::vector<Lines>{{"To Radio: SP1AA", "Date  UTC  Band  Mode  RST", "", "PSE QSL"}}));
}

TEST_F(LabelTextTest, ViaOnlyForACallSign) {
  ASSERT_EQ(Load({"CALL,DXCC,QSL_VIA", "SP1AA,269,DIRECT", "SP2BB,269,  ea5/dl1xyz ",
                  "SP3CC,269,BURO", "SP4DD,269,", "SP5EE,269,QRZ.com"}),
            LoadOutcome::Loaded);
  const auto labels = Labels();
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_EQ(labels[0][1], "Date  UTC  Band  Mode  RST");
  EXPECT_EQ(labels[1][1], "via ea5/dl1xyz");  // blanks around it dropped
  for (int station : {2, 3, 4}) EXPECT_EQ(labels[station][1], "Date  UTC  Band  Mode  RST");
}

TEST(CallSignTest, TellsManagersFromRoutes) {
  for (const char* call : {"SP5ABC", "DL1XYZ", "EA5/DL1ABC", "DL1ABC/P", "4X4A", "sp5abc", " K1A "})
    EXPECT_TRUE(IsCallSign(call)) << call;
  for (const char* route : {"", "DIRECT", "BURO", "LOTW", "E-QSL", "12345", "K1", "SP5ABC//P",
                            "/SP5ABC", "SP5ABC/", "SP5 ABC", "\xA3\xD3\x31\x41"})
    EXPECT_FALSE(IsCallSign(route)) << route;
}

TEST(LabelDateTest, EightDigitsOnly) {
  EXPECT_EQ(LabelDate("20240101"), "2024-01-01");
  EXPECT_EQ(LabelDate("2024010"), "2024010");
  EXPECT_EQ(LabelDate("202401011"), "202401011");
  EXPECT_EQ(LabelDate("2024O101"), "2024O101");
  EXPECT_EQ(LabelDate(""), "");
}

TEST_F(LabelTextTest, ColumnsFoundAsTheLoadFindsThem) {
  // Given two BAND columns and a "rst_sent " column of other case: the last
  // exact name wins, and the loose name is taken when no exact one exists.
  ASSERT_EQ(Load({"BAND,CALL,DXCC,BAND,rst_sent ,Mode", "20M,SP1AA,269,40M,579,CW"}),
            LoadOutcome::Loaded);
  const LabelColumns columns = LabelColumns::Find(session.Table(), session.Log().callColumn);
  EXPECT_EQ(columns.call, 1);
  EXPECT_EQ(columns.band, 3);
  EXPECT_EQ(columns.rstSent, 4);
  EXPECT_EQ(columns.mode, 5);
  EXPECT_EQ(columns.qsoDate, -1);
  EXPECT_EQ(Labels()[0][2], std::string(11, ' ') + "40M   CW    579");
}

}  // namespace
}  // namespace kartex::testing
