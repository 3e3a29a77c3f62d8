#include "TrollRunTestFolder.hpp"

namespace {

const HeadlessScreen::Rgb kRed{255, 0, 0};
const HeadlessScreen::Rgb kGreen{0, 255, 0};
const HeadlessScreen::Rgb kBlue{0, 0, 255};
const HeadlessScreen::Rgb kBlack{0, 0, 0};

// Peasants with solid pictures: walking red and green, squashed blue.
class PeasantTest : public TrollRunTestFolder {
protected:
    void SetUp() override
    {
        TrollRunTestFolder::SetUp();
        paintSolid("peasant1.bmp", kRed);
        paintSolid("peasant2.bmp", kGreen);
        paintSolid("peasant3.bmp", kBlue);
        run_->peasantImage1.load("peasant1.bmp");
        run_->peasantImage2.load("peasant2.bmp");
        run_->peasantImage3.load("peasant3.bmp");
        peasant().setImages(&run_->peasantImage1, &run_->peasantImage2, &run_->peasantImage3);
    }

    Peasant& peasant() { return run_->peasants[0]; }

    HeadlessScreen::Rgb drawn()
    {
        clear_to_color(backBuffer, makecol(0, 0, 0));
        peasant().draw(100, 100, 0.0);
        return at(backBuffer, 130, 140);
    }
};

} // namespace

TEST_F(PeasantTest, WalksWithTwoFramesATenthOfASecondEach)
{
    EXPECT_EQ(drawn(), kBlack); // never launched
    peasant().launch(500, -100.0);
    EXPECT_EQ(drawn(), kRed);
    advance(95);
    EXPECT_EQ(drawn(), kRed);
    advance(5);
    EXPECT_EQ(drawn(), kGreen);
    advance(100);
    EXPECT_EQ(drawn(), kRed);
    EXPECT_EQ(peasant().x(), 480);
}

TEST_F(PeasantTest, PassedPeasantWalksOnAndCanStillBeSquashed)
{
    peasant().launch(500, -100.0);
    peasant().markPassed();
    peasant().markPassed();
    EXPECT_TRUE(peasant().isAlive());
    EXPECT_TRUE(peasant().isDone());
    advance(100);
    EXPECT_EQ(peasant().x(), 490);
    peasant().squash();
    EXPECT_FALSE(peasant().isAlive());
    EXPECT_EQ(drawn(), kBlue);
}

TEST_F(PeasantTest, SquashedBodyStaysUntilStartedAgainAndStaysSquashed)
{
    peasant().launch(500, -100.0);
    peasant().squash();
    peasant().squash();
    advance(500);
    EXPECT_EQ(peasant().x(), 500);
    peasant().setRunning(true);
    advance(500);
    EXPECT_EQ(peasant().x(), 450);
    EXPECT_EQ(drawn(), kBlue);
    EXPECT_FALSE(peasant().isAlive());
}

TEST_F(PeasantTest, PausedPeasantStandsStillOnItsFrame)
{
    peasant().launch(500, -100.0);
    advance(100);
    peasant().setRunning(false);
    advance(1000);
    EXPECT_EQ(peasant().x(), 490);
    EXPECT_EQ(drawn(), kGreen);
}

TEST_F(PeasantTest, RelaunchWalksAgainFromTheFirstFrame)
{
    peasant().launch(500, -100.0);
    advance(100);
    peasant().squash();
    peasant().launch(900, -100.0);
    EXPECT_TRUE(peasant().isAlive());
    EXPECT_FALSE(peasant().isDone());
    EXPECT_EQ(peasant().x(), 900);
    EXPECT_EQ(drawn(), kRed);
}
