#pragma once

#include "helpers/TestImages.h"

#include <QFile>
#include <QTemporaryDir>

// The line of a stand-in helper's script that says it is ready, as the real helper says before
// it reads a request.
inline const QByteArray kStandInHelperReady = "printf RHGS\n";

// An image helper that opens an SVG document and ends, so that every later drawing of the
// document is refused, as the real helper refuses one that takes too long or too much memory.
// It stands in for the real one (SIGILON_LOADER, which this process and the programs it starts
// read) for as long as the object lives. With `realOnesAfter`, only its first run is such: the
// helpers started after it are the real one.
class RefusingImageHelper {
public:
    explicit RefusingImageHelper(bool realOnesAfter = false) : m_real(qgetenv("SIGILON_LOADER")) {
        // A 1 x 1 thumbnail of a document one unit square: the answer's header, then its pixel.
        const QByteArray answer = "printf '1HGS\\002\\000\\000\\000\\001\\000\\000\\000"
                                  "\\001\\000\\000\\000'\nhead -c 16 /dev/zero\n"
                                  "printf '\\000\\000\\000\\000\\000\\000\\360\\077'\n"
                                  "printf '\\000\\000\\000\\000\\000\\000\\360\\077'\n"
                                  "head -c 8 /dev/zero\nprintf '\\377\\377\\377\\377'\nsleep 1\n";
        const QByteArray mark = QFile::encodeName(m_folder.filePath(QStringLiteral("started")));
        QByteArray script = "#!/bin/sh\n";
        if (realOnesAfter)
            script += "if [ -e '" + mark + "' ]; then exec '" + m_real + "' \"$@\"; fi\ntouch '" +
                      mark + "'\n";
        const QString helper = m_folder.filePath(QStringLiteral("helper.sh"));
        m_valid = m_folder.isValid() && !m_real.isEmpty() &&
                  TestImages::WriteFile(helper, script + kStandInHelperReady + answer) &&
                  QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner) &&
                  TestImages::WriteFile(document(), "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                                    "viewBox=\"0 0 1 1\"/>");
        qputenv("SIGILON_LOADER", QFile::encodeName(helper));
    }
    ~RefusingImageHelper() { qputenv("SIGILON_LOADER", m_real); }
    RefusingImageHelper(const RefusingImageHelper&) = delete;
    RefusingImageHelper& operator=(const RefusingImageHelper&) = delete;

    bool isValid() const { return m_valid; }
    // The document to open with it.
    QString document() const { return m_folder.filePath(QStringLiteral("icon.svg")); }

private:
    QTemporaryDir m_folder;
    const QByteArray m_real;
    bool m_valid = false;
};
