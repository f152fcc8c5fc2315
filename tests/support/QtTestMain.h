#pragma once
// The body of a widget test main: one application object for the whole run,
// drawing off screen unless a platform is chosen.
#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

template <class Application> int RunQtTests(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
