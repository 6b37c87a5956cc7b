#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>

#include "sharing/default_share_configurator.h"

namespace lumigrave::sharing {

// The sharing library's settings for the whole process: the installed configurator's
// values, each of which a deployment file may replace. Main thread only.
//
// Deployment files are INI files "lumigrave/sharing.ini" in the XDG configuration
// directories, read once when a configurator is installed; the user's directory wins
// over the system's (/etc/xdg). Keys are the setting names, in a [sharing] group or at
// the top; the group wins within one file. A value of the wrong form for its setting is
// ignored with a log line naming the key and the file, never the value: many are secrets.
class ShareConfiguration {
  public:
    // Installs configurator in place of any earlier one and reads the deployment files.
    // A reference to the earlier configuration is no longer valid afterwards.
    static ShareConfiguration& sharedInstanceWithConfigurator(
        std::unique_ptr<DefaultShareConfigurator> configurator);
    // The installed configuration; the library's defaults when none was installed yet.
    static ShareConfiguration& sharedInstance();

    // The setting named key: the deployment's value when it gave a valid one, else the
    // configurator's. withObject is the argument of the settings that take one
    // ("barTintForView" a class name, "defaultFavoriteSharersForMimeType" a MIME type).
    // A name that is no setting reads as an invalid QVariant, with a log line.
    QVariant configurationValue(const QString& key, const QVariant& withObject = {}) const;
    // configurationValue's string, bool and list forms, for the workflow's own reads.
    QString stringValue(const QString& key) const;
    bool boolValue(const QString& key) const;
    QStringList listValue(const QString& key, const QVariant& withObject = {}) const;

    // The bar colour for a controller of that class; invalid means the library's default.
    QColor barTintForView(const QString& controllerClassName) const;

    // Every setting name a deployment file may set.
    static QStringList deployableSettingNames();

  private:
    explicit ShareConfiguration(std::unique_ptr<DefaultShareConfigurator> configurator);
    void readDeploymentFiles();
    void readDeploymentFile(const QString& path);

    std::unique_ptr<DefaultShareConfigurator> configurator_;
    QVariantMap deployed_;
};

}  // namespace lumigrave::sharing
