#pragma once
// A save killed or out of disk leaves the old or the new content, never a mix or a temporary file.

#include "childprocess.h"
#include "tempdir.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>

inline QStringList folderEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

struct SaveTorture {
    QString dir;        // the folder of the saved file, holding nothing else
    QString fileName;
    QByteArray oldBytes, newBytes;
    std::function<bool()> saveOld, saveNew;

    QString path() const { return dir + QLatin1Char('/') + fileName; }

    // Kills a child saving the new content `runs` times, at random within twice a save's time.
    void killWhileSaving(int runs) const
    {
        using namespace std::chrono_literals;
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(i % 2 ? saveOld() : saveNew());
        const auto saveTime = (std::chrono::steady_clock::now() - begin) / 20;
        ASSERT_EQ(readBytes(path()), oldBytes);

        const unsigned seed = std::random_device()();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<long long> delay(0, 2 * std::chrono::nanoseconds(saveTime).count());
        // What a save that was cut off leaves: its temporary file.
        const QRegularExpression unfinished(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(QLatin1Char('.') + fileName + QStringLiteral(".signovat-save-"))
            + QStringLiteral("[A-Za-z]{6}")));

        int keptOld = 0, tookNew = 0;
        for (int run = 0; run < runs; ++run) {
            SCOPED_TRACE(testing::Message() << "run " << run);
            ChildProcess child([&](const std::function<void()> &ready) {
                ready();
                return saveNew() ? 0 : 1;
            });
            ASSERT_TRUE(child.waitReady(10s));
            std::this_thread::sleep_for(std::chrono::nanoseconds(delay(random)));
            child.kill();

            const QByteArray content = readBytes(path());
            ASSERT_TRUE(content == oldBytes || content == newBytes) << content.size() << " bytes";
            ++(content == oldBytes ? keptOld : tookNew);
            for (const QString &entry : folderEntries(dir))
                EXPECT_TRUE(entry == fileName || unfinished.match(entry).hasMatch()) << entry.toStdString();
            // The next save removes what the killed one left and restores the old content.
            ASSERT_TRUE(saveOld());
            ASSERT_EQ(folderEntries(dir), QStringList{fileName});
        }
        std::printf("%s: save time %lld us; %d kills: old content %d, new content %d\n", qPrintable(fileName),
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count()),
                    runs, keptOld, tookNew);
        // Kills landed before the file was replaced and after it.
        EXPECT_GT(keptOld, 0);
        EXPECT_GT(tookNew, 0);
    }

    // A full disk: a child with too little room fails its save and leaves the old file whole.
    void saveWithRoomFor(rlim_t room) const
    {
        using namespace std::chrono_literals;
        SCOPED_TRACE(testing::Message() << room << " bytes of room");
        ChildProcess child([&](const std::function<void()> &) { return saveNew() ? 0 : 1; },
                           ChildLimits{room, std::nullopt});
        EXPECT_EQ(child.waitExit(10s), 1);
        EXPECT_EQ(readBytes(path()), oldBytes);
        EXPECT_EQ(folderEntries(dir), QStringList{fileName});
    }
};
