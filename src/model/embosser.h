#pragma once

#include <QString>

namespace lumigrave {

// The group of a preset's fields one editor changes, and so the columns an update
// writes. The numbers are the editors' own; All (or any value not named here) writes
// every column.
enum class EditorGroup : int {
    All = 0,
    Text = 1,              // text
    Font = 2,              // font_name
    SizeOpacityAngle = 3,  // width_ratio, opacity, text_angle
    LayoutMargins = 4,     // layout_type, margin_horizontal, margin_vertical
};

// One watermark preset. The validating setters replace an out-of-range value by a fixed
// fallback (they do not clamp), so every preset in memory, loaded, copied or edited,
// holds values inside its ranges.
class Embosser {
  public:
    // Defaults: "© lumigrave.app" in the bold system font, width ratio 0.8, opacity 0.6,
    // angle 0, centred, no margins, not stored (rid 0), not modified.
    Embosser();
    Embosser(Embosser&&) = default;
    Embosser& operator=(Embosser&&) = default;

    // A new preset with the same values and rid (the same database row), not modified.
    // Goes through the setters, the layout before the margins so that a corner or tiled
    // preset keeps its margins.
    Embosser copy() const;

    // True for the tiled layouts (5 and 6).
    bool isTiled() const { return layout_type_ > 4; }

    int layoutType() const { return layout_type_; }
    // Outside 0 to 6 (negative values included) becomes 0; a centred preset has no margins.
    void setLayoutType(int layoutType);
    float marginHorizontal() const { return margin_horizontal_; }
    float marginVertical() const { return margin_vertical_; }
    // Ignored while centred; outside 0 to 0.5 becomes 0.
    void setMarginHorizontal(float margin);
    void setMarginVertical(float margin);

    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    const QString& font_name() const { return font_name_; }
    void setFont_name(const QString& fontName) { font_name_ = fontName; }

    float width_ratio() const { return width_ratio_; }
    // Below 0.1 (compared in double precision) or above 1 becomes 1.
    void setWidth_ratio(float widthRatio);
    float opacity() const { return opacity_; }
    // Below 0.1 (compared in double precision) or above 1 becomes 1.
    void setOpacity(float opacity);
    float text_angle() const { return text_angle_; }
    // Degrees; below 0 or above 359 becomes 0.
    void setText_angle(float textAngle);

    int rid() const { return rid_; }
    void setRid(int rid) { rid_ = rid; }
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The store. Each operation opens the database file, runs one statement and closes
    // it again. On failure it logs, sets *errorMessage (when given) to the database's
    // own text and returns false.

    // Inserts the preset and sets its rid to the new row's id (0 until then).
    static bool dbAddEmbosser(const QString& databasePath, Embosser& embosser,
                              QString* errorMessage);
    static bool dbDeleteEmbosser(const QString& databasePath, const Embosser& embosser,
                                 QString* errorMessage);
    // Writes forView's group of columns (and the time of use, which moves the preset to
    // the front of the load order).
    static bool dbUpdateEmbosser(const QString& databasePath, const Embosser& embosser,
                                 EditorGroup forView, QString* errorMessage);

    // Copies go through copy(), which resets modified.
    Embosser(const Embosser&) = delete;
    Embosser& operator=(const Embosser&) = delete;

  private:
    int layout_type_;
    float margin_horizontal_;
    float margin_vertical_;
    QString text_;
    QString font_name_;
    float width_ratio_;
    float opacity_;
    float text_angle_;
    int rid_;
    bool modified_;
};

// The text every new preset starts with: the copyright sign, a blank and our domain.
QString defaultEmbosserText();

}  // namespace lumigrave
