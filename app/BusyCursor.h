// A wait cursor for the length of a scope, and a pause in it while a
// message box waits for the user.
#pragma once

#include <QCursor>
#include <QGuiApplication>

class BusyCursor
{
public:
    BusyCursor()
    {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        ++active();
    }
    ~BusyCursor()
    {
        --active();
        QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // The normal cursor while an instance lives, when a busy cursor is on.
    class Pause
    {
    public:
        Pause() : paused(active())
        {
            for (int i = 0; i < paused; ++i)
                QGuiApplication::restoreOverrideCursor();
        }
        ~Pause()
        {
            for (int i = 0; i < paused; ++i)
                QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        }
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        const int paused;
    };

private:
    static int &active()
    {
        static int count = 0;
        return count;
    }
};
