#pragma once

#include "app/commandline.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>

// The program's commands run in the test's own process, as main() runs them.
struct Outcome {
    int status;
    QString out;
    QString err;
};

// perlinex ARGS..., with input as what the user types on the terminal.
inline Outcome run(const QStringList& args, const QString& input = QString()) {
    QString out;
    QString err;
    QString in = input;
    QTextStream o(&out);
    QTextStream e(&err);
    QTextStream i(&in);
    const int status =
        perlinex::app::runCommand(QStringList{QStringLiteral("perlinex")} + args, o, e, &i);
    o.flush();
    e.flush();
    return {status, out, err};
}

inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
