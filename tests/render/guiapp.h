#pragma once
// Text needs the font database, so tests that draw run inside a
// QGuiApplication (offscreen platform, set by ctest).

#include <QGuiApplication>
#include <gtest/gtest.h>

class GuiAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_render";
        static char *argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QGuiApplication *app_ = nullptr;
};

inline ::testing::Environment *const kGuiAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);
