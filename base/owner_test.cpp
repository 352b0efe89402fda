#include "base/owner.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace {

TEST(Owner, QuestionsAreAnsweredInTurnAndCancelledWithoutAnAsker) {
  OwnerRecorder recorder;
  recorder.script = {true, false, true};
  const Owner owner = recorder.owner();
  EXPECT_TRUE(OwnerAsk(&owner, "Replace?", "a.gif"));
  EXPECT_FALSE(OwnerAsk(&owner, "Reduce?", "a.gif"));
  EXPECT_TRUE(OwnerAsk(&owner, "Again?", "b.gif"));
  EXPECT_FALSE(OwnerAsk(&owner, "Past the script?", "c.gif"));
  EXPECT_EQ(recorder.questions, (std::vector<std::string>{"Replace?|a.gif", "Reduce?|a.gif", "Again?|b.gif",
                                                           "Past the script?|c.gif"}));
  EXPECT_FALSE(OwnerAsk(nullptr, "Nobody?", ""));
  const Owner silent;
  EXPECT_FALSE(OwnerAsk(&silent, "No asker?", ""));
}

TEST(Owner, CaptionScopePutsBackTheTitleCutTo99Characters) {
  OwnerRecorder recorder;
  recorder.caption = std::string(120, 'x');
  const Owner owner = recorder.owner();
  {
    CaptionScope scope(&owner);
    scope.Show("Reading");
    EXPECT_EQ(recorder.caption, "Reading");
  }
  EXPECT_EQ(recorder.caption, std::string(99, 'x'));
  CaptionScope nobody(nullptr);
  nobody.Show("ignored");
}

}  // namespace
