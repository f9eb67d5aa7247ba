// Expectations in words: a script that checks the game as it plays, goes on
// past what does not hold and fails at its end.
#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Expectations : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game.path()));
        rt = std::make_unique<app::Runtime>(testsupport::ScriptedOptions(game.path(), QSize(1024, 768)));
        rt->frmWelcome().show();
    }
    // The failures' lines: "LINE: expected | found".
    QStringList failures() const
    {
        QStringList out;
        for (const QJsonObject& f : rt->log.ofType(QStringLiteral("fail")))
            out << QStringLiteral("%1: %2 | %3")
                       .arg(f.value(QStringLiteral("line")).toInt())
                       .arg(f.value(QStringLiteral("expected")).toString(), f.value(QStringLiteral("found")).toString());
        return out;
    }

    QTemporaryDir game;
    std::unique_ptr<app::Runtime> rt;
};

} // namespace

TEST_F(Expectations, WhatHoldsPassesAndWhatDoesNotIsToldWithItsLineAndTheRunFailsAtItsEnd)
{
    automation::ScriptRunner runner(*rt, QString());
    const bool passed = runner.run({
        QStringLiteral("click Img(0)"),                 // 1: the shore, the bell not yet rung
        QStringLiteral("expect frame Shore"),           // 2
        QStringLiteral("expect variable Hint 0"),       // 3
        QStringLiteral("expect no inventory Grapple"),  // 4
        QStringLiteral("expect silence"),               // 5
        QStringLiteral("expect shown BackImage"),       // 6
        QStringLiteral("expect frame Lantern"),         // 7
        QStringLiteral("expect variable Hint 2"),       // 8
        QStringLiteral("expect variable Nobody 0"),     // 9
        QStringLiteral("expect inventory Grapple"),     // 10
        QStringLiteral("expect music bell.mid"),        // 11
        QStringLiteral("expect hidden BackImage"),      // 12
        QStringLiteral("expect removed Shore 2"),       // 13
        QStringLiteral("dump"),                         // 14
    });
    EXPECT_FALSE(passed);
    const QStringList expected{
        QStringLiteral("7: frame Lantern | frame Shore"),
        QStringLiteral("8: variable Hint 2 | variable Hint 0"),
        QStringLiteral("9: variable Nobody 0 | no variable Nobody"),
        QStringLiteral("10: inventory Grapple | an empty inventory"),
        QStringLiteral("11: music bell.mid | silence"),
        QStringLiteral("12: hidden BackImage | shown BackImage"),
        QStringLiteral("13: removed Shore 2 | area 2 of Shore not removed"),
    };
    EXPECT_EQ(failures().join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    // The script went on to its end.
    EXPECT_EQ(rt->log.ofType(QStringLiteral("dump")).size(), 1u);
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("error")).empty());
}

TEST_F(Expectations, AMessageIsTheStripWhileItShowsElseTheLastMessageBox)
{
    automation::ScriptRunner runner(*rt, QString());
    ASSERT_TRUE(runner.run({QStringLiteral("click Img(0)")}));
    rt->game().ShowTextMessage(QStringLiteral("The sea is calm tonight."), true);
    EXPECT_TRUE(runner.run({QStringLiteral("expect message The sea is calm tonight.")}));
    EXPECT_FALSE(runner.run({QStringLiteral("expect message The sea is rough.")}));
    const auto fails = rt->log.ofType(QStringLiteral("fail"));
    ASSERT_EQ(fails.size(), 1u);
    EXPECT_EQ(fails[0].value(QStringLiteral("found")).toString(), QStringLiteral("message The sea is calm tonight."));
}

TEST_F(Expectations, AnExpectationThatNamesNothingKnownStopsTheScript)
{
    automation::ScriptRunner runner(*rt, QString());
    EXPECT_FALSE(runner.run({QStringLiteral("expect weather sunny"), QStringLiteral("dump")}));
    const auto errors = rt->log.ofType(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value(QStringLiteral("text")).toString(), QStringLiteral("Cannot read the line: expect weather sunny"));
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("dump")).empty());
}

TEST_F(Expectations, StoppingOnAFailEndsTheScriptAtItsFailLine)
{
    automation::ScriptRunner runner(*rt, QString());
    runner.setStopOnFail(true);
    EXPECT_FALSE(runner.run({
        QStringLiteral("click Img(0)"),          // 1
        QStringLiteral("expect frame Shore"),    // 2
        QStringLiteral("expect frame Lantern"),  // 3
        QStringLiteral("expect silence"),        // 4
        QStringLiteral("expect variable Hint 5"),// 5
        QStringLiteral("dump"),                  // 6
    }));
    EXPECT_EQ(failures(), QStringList{QStringLiteral("3: frame Lantern | frame Shore")});
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("dump")).empty());
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("error")).empty());
}
