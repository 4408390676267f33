// A stand-in of KGet's D-Bus service for tests: takes the name org.kde.kget on the session
// bus, serves /KGet with the interface org.kde.kget.main, and writes every call it receives
// to the record file, one line each with the arguments as JSON strings. It prints "ready"
// once the name is its own, and refuses any source that contains "refuse-me".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QObject>
#include <QStringList>
#include <cstdio>

class KGetMain : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.kget.main")

 public:
  explicit KGetMain(QString recordFile) : record_(std::move(recordFile)) {}

 public slots:
  QStringList addTransfer(const QString& src, const QString& destDir, bool start) {
    if (src.contains(QStringLiteral("refuse-me"))) {
      sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("not a transfer"));
      return {};
    }
    Write(QJsonArray{QStringLiteral("addTransfer"), src, destDir, start});
    return {src};
  }
  void importLinks(const QStringList& links) {
    QJsonArray call{QStringLiteral("importLinks")};
    for (const QString& link : links) call.append(link);
    Write(call);
  }

 private:
  void Write(const QJsonArray& call) {
    QFile file(record_);
    if (!file.open(QIODevice::Append)) return;
    file.write(QJsonDocument(call).toJson(QJsonDocument::Compact) + "\n");
  }
  QString record_;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  KGetMain service(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/KGet"), &service, QDBusConnection::ExportAllSlots))
    return 3;
  if (!bus.registerService(QStringLiteral("org.kde.kget"))) return 4;
  std::puts("ready");
  std::fflush(stdout);
  return app.exec();
}

#include "kget_stand_in.moc"
