#pragma once
// Text needs the font database, so tests that draw run inside a
// QGuiApplication (offscreen platform, set by ctest).

#include <QGuiApplication>
#include <gtest/gtest.h>

struct GuiAppEnvironment : ::testing::Environment {
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_render", *argv[] = {name, nullptr};
        app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app; }
    QGuiApplication *app = nullptr;
};

inline ::testing::Environment *const kGuiAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);
