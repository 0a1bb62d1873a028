#pragma once

#include <QObject>

#include <memory>
#include <string>

namespace hinagiku::platform {

// The modifier of the launcher hot key; the key itself is Space.
enum class HotKeyModifier { Super, Control };

// A system-wide hot key: activated() is emitted whenever the key is pressed,
// whichever program has the keyboard focus. The key is released when the
// object is destroyed.
class HotKey : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~HotKey() override;
    // False when the key could not be taken (another program holds it, or
    // there is no window system that offers global keys); then the key simply
    // does nothing.
    virtual bool isRegistered() const = 0;

  signals:
    void activated();
};

// The hot key modifier+Space on the environment's X11 display (or
// `displayName`); an inert key outside X11.
std::unique_ptr<HotKey> registerHotKey(HotKeyModifier modifier, QObject* parent = nullptr,
                                       const std::string& displayName = {});

}  // namespace hinagiku::platform
