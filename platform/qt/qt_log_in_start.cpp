// The desktop's log-in entry: an XDG autostart file, which every desktop that follows the
// freedesktop.org rules starts at log-in.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"

namespace brindle {

namespace {

QString AutostartFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString EntryFile() {
    return AutostartFolder() + QStringLiteral("/io.github.brindle.Brindle.desktop");
}

// The words of an Exec value, with the quoting and backslash escapes the desktop entry rules allow.
QStringList ExecWords(const QString& exec) {
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c == QLatin1Char('\\') && quoted && i + 1 < exec.size()) {
            word += exec[++i];
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (inWord) {
                words << word;
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words << word;
    }
    return words;
}

QString Quoted(const QString& word) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (const QChar c : word) {
        if (reserved.contains(c)) {
            QString escaped = word;
            escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('"'), QStringLiteral("\\\""))
                .replace(QLatin1Char('`'), QStringLiteral("\\`"))
                .replace(QLatin1Char('$'), QStringLiteral("\\$"));
            return QLatin1Char('"') + escaped + QLatin1Char('"');
        }
    }
    return word;
}

QString ThisProgram() {
    return QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
}

// The file a program word names: a path as it is, a bare name as PATH finds it.
QString ProgramFile(const QString& word) {
    const QString found =
        word.contains(QLatin1Char('/')) ? word : QStandardPaths::findExecutable(word);
    return found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
}

// An entry's Exec value split into what comes before the program (an `env` with its settings, as
// a hand-written entry may have for a Wayland session), the program and its options; nothing
// when the entry is hidden or has no Exec.
struct Exec {
    QStringList prefix;
    QString program;
};
std::optional<Exec> ReadExec() {
    QFile file(EntryFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return std::nullopt;
    }
    QTextStream in(&file);
    QString exec;
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        } else if (inMainGroup && line.startsWith(QLatin1String("Exec="))) {
            exec = line.mid(5);
        } else if (inMainGroup && (line == QLatin1String("Hidden=true") ||
                                   line == QLatin1String("X-GNOME-Autostart-enabled=false"))) {
            return std::nullopt;
        }
    }
    QStringList words = ExecWords(exec);
    Exec split;
    if (!words.isEmpty() && words.front() == QLatin1String("env")) {
        split.prefix << words.takeFirst();
        while (!words.isEmpty() && words.front().contains(QLatin1Char('='))) {
            split.prefix << words.takeFirst();
        }
    }
    if (words.isEmpty()) {
        return std::nullopt;
    }
    split.program = words.front();
    return split;
}

}  // namespace

bool QtDesktop::StartsAtLogIn() {
    const std::optional<Exec> exec = ReadExec();
    return exec && ProgramFile(exec->program) == ThisProgram();
}

std::optional<SettingError> QtDesktop::WriteLogInStart(const std::vector<std::string>& options,
                                                       const std::string& comment) {
    const QString folder = AutostartFolder();
    // The program by name when PATH finds this very program, as an installed one is; else by path.
    const QString name = QFileInfo(ThisProgram()).fileName();
    QStringList words;
    if (const std::optional<Exec> exec = ReadExec()) {
        for (const QString& word : exec->prefix) {
            words << Quoted(word);
        }
    }
    words << Quoted(ProgramFile(name) == ThisProgram() ? name : ThisProgram());
    for (const std::string& option : options) {
        words << Quoted(ToQString(option));
    }
    if (!QDir().mkpath(folder)) {
        return SettingError{folder.toStdString(), "the folder cannot be made"};
    }
    // The entry is written beside the old one and put in its place only once whole.
    QSaveFile file(EntryFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        out << "[Desktop Entry]\nType=Application\nName=Brindle\nComment=" << ToQString(comment)
            << "\nExec=" << words.join(QLatin1Char(' '))
            << "\nIcon=io.github.brindle.Brindle\nTerminal=false\n";
        out.flush();
        if (file.commit()) {
            return std::nullopt;
        }
    }
    return SettingError{folder.toStdString(), file.errorString().toStdString()};
}

std::optional<SettingError> QtDesktop::RemoveLogInStart() {
    QFile file(EntryFile());
    if (!file.exists() || file.remove()) {
        return std::nullopt;
    }
    return SettingError{AutostartFolder().toStdString(), file.errorString().toStdString()};
}

}  // namespace brindle
