#pragma once

#include <QString>
#include <QStringList>

namespace lumigrave::cli {

// Walks a command line's arguments and reads option values, each check failing with a
// message that names the option. A value is taken as it stands, even when it starts
// with '-' ("--text -h" is a text), except where it names a file or folder to create.
class OptionReader {
  public:
    OptionReader(const QStringList& arguments, QString* error) : args_(arguments), error_(error) {}

    bool atEnd() const { return next_ >= args_.size(); }
    QString take() { return args_[next_++]; }
    // The arguments not read yet.
    QStringList rest() const { return args_.mid(next_); }

    bool value(const QString& option, QString* out);
    // A file or folder name ("file", "folder"); an option in its place means the name
    // was forgotten, so it is refused rather than created in the working directory.
    bool path(const QString& option, const char* kind, QString* out);
    // A finite number; infinity and NaN are not numbers anyone means.
    bool number(const QString& option, float* out);
    bool integer(const QString& option, qint64* out, qint64 low, qint64 high);
    bool fail(const QString& message);

  private:
    QStringList args_;
    qsizetype next_ = 0;
    QString* error_;
};

}  // namespace lumigrave::cli
