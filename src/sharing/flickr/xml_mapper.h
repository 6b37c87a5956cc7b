#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace lumigrave::sharing {

// Turns the photo service's XML answers, which are untrusted, into nested dictionaries:
// every element is a QVariantMap of its attributes (strings), stored in its parent under
// its own name; a second element of the same name turns that entry into a QVariantList; a
// child whose name the parent's name begins with, when the parent's name is longer and
// ends in "s" ("group" inside "groups"), is a list from the first one; text is collected
// under "_text". The document itself is the outermost dictionary.
//
// A document type declaration or an entity reference is refused on sight, before
// anything is expanded; so are answers nested deeper than kMaxDepth or longer than
// kMaxBytes.
class XMLMapper {
  public:
    static constexpr int kMaxDepth = 256;
    static constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;
    static constexpr char kExceptionName[] = "XMLMapperException";
    static constexpr char kFaultyStructure[] = "Faulty XML structure";
    static constexpr char kUnbalancedClosing[] = "Unbalanced XML element tag closing";

    // The mapped document, or nothing with *error saying why. For the two structural
    // faults *exceptionName is kExceptionName and *error its reason; for every other
    // refusal *exceptionName is empty.
    static std::optional<QVariantMap> dictionaryFromData(const QByteArray& xml, QString* error,
                                                         QString* exceptionName = nullptr);
};

}  // namespace lumigrave::sharing
