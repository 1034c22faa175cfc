#include "qt/qt_desktop.h"

#include <QSettings>
#include <QStandardPaths>

#include "qt/qt_control_peer.h"

namespace brindle {

namespace {

// The user's own settings file, ~/.config/brindle/brindle.conf unless XDG_CONFIG_HOME says
// otherwise.
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/brindle/brindle.conf");
}

}  // namespace

std::optional<bool> QtDesktop::ReadFlag(const std::string& name) {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    const QVariant value = settings.value(ToQString(name));
    if (settings.status() != QSettings::NoError || !value.isValid()) {
        return std::nullopt;
    }
    const QString text = value.toString();
    if (text != QLatin1String("true") && text != QLatin1String("false")) {
        return std::nullopt;
    }
    return text == QLatin1String("true");
}

std::optional<SettingError> QtDesktop::WriteFlag(const std::string& name, bool value) {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(ToQString(name), value);
    settings.sync();
    switch (settings.status()) {
        case QSettings::NoError:
            return std::nullopt;
        case QSettings::AccessError:
            return SettingError{settings.fileName().toStdString(), "it cannot be written"};
        case QSettings::FormatError:
            return SettingError{settings.fileName().toStdString(), "it is not a settings file"};
    }
    return SettingError{settings.fileName().toStdString(), "it cannot be written"};
}

void QtDesktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    then(BusyReasons{});
}

}  // namespace brindle
