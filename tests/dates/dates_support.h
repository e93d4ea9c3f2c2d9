#pragma once

#include "dates/frmdateent.h"
#include "support/scripted_dialogs.h"
#include "support/wait.h"
#include "ui/program.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

inline QLocale swapDefaultLocale(const QLocale& locale) {
    const QLocale previous;
    QLocale::setDefault(locale);
    return previous;
}

// A program under a locale, with its date format learnt as the main window does. The Program
// takes its regional settings from the default locale, so that is set first.
struct DatesProgram {
    explicit DatesProgram(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates))
        : previous(swapDefaultLocale(locale)) {
        perlinex::ChkDateFmt(program);
    }
    ~DatesProgram() { QLocale::setDefault(previous); }
    QLocale previous;
    ScriptedDialogs dialogs;
    perlinex::Program program{dialogs, QDir::tempPath()};
};

// Queues `step` for the calendar that exec() is about to put up. A step that leaves it open
// fails the test and closes it, so that a broken step cannot hang the run.
inline void onCalendar(std::function<void(perlinex::frmDateEnt&)> step, int triesLeft = 200) {
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [step, triesLeft] {
        QPointer<perlinex::frmDateEnt> calendar =
            qobject_cast<perlinex::frmDateEnt*>(QApplication::activeModalWidget());
        if (!calendar) {
            if (triesLeft > 0)
                onCalendar(step, triesLeft - 1);
            else
                ADD_FAILURE() << "the calendar never came up";
            return;
        }
        step(*calendar);
        if (calendar && calendar->isVisible()) {
            ADD_FAILURE() << "the calendar was left open";
            calendar->reject();
        }
    });
}
