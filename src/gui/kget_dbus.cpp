// KGet over Qt D-Bus: addTransfer(src, destDir, start) on /KGet, interface
// org.kde.kget.main, as blocking calls (a hand-off waits for its answer anyway).
#include "gui/kget_dbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <atomic>

namespace vendil::gui {

namespace {

constexpr int kCallTimeoutMs = 30000;

QDBusConnection Bus(const QString& name) { return QDBusConnection(name); }

}  // namespace

QtKGetBus::QtKGetBus() {
  static std::atomic<int> next{0};
  name_ = QStringLiteral("vendil-kget-%1").arg(next++);
  QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_);
}

QtKGetBus::~QtKGetBus() { QDBusConnection::disconnectFromBus(name_); }

bool QtKGetBus::BusAvailable(std::string& error) {
  const QDBusConnection bus = Bus(name_);
  if (bus.isConnected()) return true;
  error = "セッションのD-Busに接続できません。\r\n" + bus.lastError().message().toStdString();
  return false;
}

bool QtKGetBus::IsRunning() {
  const QDBusConnection bus = Bus(name_);
  if (!bus.isConnected() || !bus.interface()) return false;
  const auto reply = bus.interface()->isServiceRegistered(QString::fromLatin1(kKGetService));
  return reply.isValid() && reply.value();
}

bool QtKGetBus::AddTransfer(const std::string& src, const std::string& destDir, bool start,
                            std::string& error) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kKGetService), QString::fromLatin1(kKGetObject),
      QString::fromLatin1(kKGetInterface), QStringLiteral("addTransfer"));
  call << QString::fromStdString(src) << QString::fromStdString(destDir) << start;
  const QDBusMessage reply = Bus(name_).call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ErrorMessage) return true;
  error = reply.errorMessage().toStdString();
  if (error.empty()) error = reply.errorName().toStdString();
  return false;
}

}  // namespace vendil::gui
