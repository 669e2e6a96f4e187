// Scaling on high-density screens: the window keeps its 96-dpi layout in logical
// pixels, drawn with as many device pixels as the screen has.
#include "ScreenScaling.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>

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
#else
    // Qt 6 multiplies a user's factor with the screen's; here it decides alone, as above.
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        && !qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
#endif
}

void preferLargerIconImages(const QList<QAction *> &actions)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // At exactly 150 % Qt 6 finds an icon's 32-pixel image and its name@2x.png
    // equally near and takes the one added first, the 32 pixels, enlarged; Qt 5
    // reduces the 64-pixel image. Added first, the larger image is taken here too.
    const QSize size(32, 32);
    for (QAction *action : actions) {
        const QIcon icon = action->icon();
        if (icon.isNull())
            continue;
        QIcon larger;
        larger.addPixmap(icon.pixmap(size, 2.0));
        larger.addPixmap(icon.pixmap(size, 1.0));
        action->setIcon(larger);
    }
#else
    Q_UNUSED(actions)
#endif
}
