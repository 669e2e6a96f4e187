// Scaling on high-density screens: the window keeps its 96-dpi layout in logical
// pixels, drawn with as many device pixels as the screen has.
#include "ScreenScaling.h"

#include <QGuiApplication>

void prepareScreenScaling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 5 scales only a program that asks (Qt 6 always does). A user's own factor
    // or switch decides alone: asked as well, Qt would multiply the factors.
    const bool userScales = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        || qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")
        || qEnvironmentVariableIsSet("QT_AUTO_SCREEN_SCALE_FACTOR")
        || qEnvironmentVariableIsSet("QT_DEVICE_PIXEL_RATIO");
    if (!userScales)
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    // A 150 % screen keeps 1.5: rounded to 1 the texts outgrow their cells, rounded
    // to 2 everything is a third too large.
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR_ROUNDING_POLICY"))
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}
