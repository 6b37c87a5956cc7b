#include "support/web_view_driver.h"

#include <QPointer>
#include <QTest>
#include <QWebEngineView>
#include <memory>
#include <optional>

namespace lumigrave::test {

WebViewDriver::WebViewDriver(QWebEngineView* view)
    : view_(view), loads_(std::make_shared<QList<bool>>()) {
    loadConnection_ = QObject::connect(view_, &QWebEngineView::loadFinished,
                                       [loads = loads_](bool ok) { loads->append(ok); });
}

WebViewDriver::~WebViewDriver() {
    QObject::disconnect(loadConnection_);
}

bool WebViewDriver::waitForLoads(int count, int timeoutMs) {
    return QTest::qWaitFor([&] { return loads_->size() >= count; }, timeoutMs);
}

bool WebViewDriver::waitForElement(const QString& id, int timeoutMs) {
    const QString script = QStringLiteral("document.getElementById('%1') !== null").arg(id);
    return QTest::qWaitFor([&] { return runJavaScript(script, timeoutMs).toBool(); }, timeoutMs);
}

QVariant WebViewDriver::runJavaScript(const QString& script, int timeoutMs) {
    // The answer may come after the view is gone; it must not write into a dead frame.
    auto result = std::make_shared<std::optional<QVariant>>();
    view_->page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
    (void)QTest::qWaitFor([&] { return result->has_value(); }, timeoutMs);
    return result->value_or(QVariant());
}

bool WebViewDriver::clickByScript(const QString& id) {
    return runJavaScript(QStringLiteral("(function() { const e = document.getElementById('%1');"
                                        " if (!e) return false; e.click(); return true; })()")
                             .arg(id))
        .toBool();
}

bool WebViewDriver::clickWithMouse(const QString& id) {
    const QVariant centre =
        runJavaScript(QStringLiteral("(function() { const e = document.getElementById('%1');"
                                     " if (!e) return null; const r = e.getBoundingClientRect();"
                                     " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                          .arg(id));
    const QVariantList xy = centre.toList();
    QWidget* target = view_->focusProxy();
    if (xy.size() != 2 || target == nullptr) {
        return false;
    }
    // CSS pixels are the widget's at the default zoom.
    const double zoom = view_->zoomFactor();
    const QPoint at(int(xy.at(0).toDouble() * zoom), int(xy.at(1).toDouble() * zoom));
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    return true;
}

}  // namespace lumigrave::test
