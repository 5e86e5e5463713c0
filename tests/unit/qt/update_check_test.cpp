// Qt's network access against a stand-in web site on 127.0.0.1, and the update window's
// drawing.

#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSslSocket>
#include <QtTest>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/fake_host.h"
#include "fakes/fake_ui_ports.h"
#include "log/updater_log_file.h"
#include "qt/qt_download_service.h"
#include "qt/updater_window.h"
#include "unit/qt/screen_check.h"

namespace vespar::qt {
namespace {

// Records the notices of one download.
struct Recorder : DownloadReceiver {
    void DownloadProgressed(const std::string&, const std::vector<unsigned char>&) override {}
    void DownloadCompleted(const std::string&, const std::vector<unsigned char>& b) override {
        outcome = "complete";
        body.assign(b.begin(), b.end());
    }
    void DownloadNotDelivered(const std::string&, long n, const std::string&) override {
        outcome = "failed " + std::to_string(n);
    }
    std::string outcome, body;
};

}  // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT

  private slots:
    // The stand-in web site, which prints its port first.
    void initTestCase() {
        server.start("python3", {VESPAR_SOURCE_DIR "/tests/servers/version_server.py"});
        QVERIFY(server.waitForReadyRead(10'000));
        port = server.readLine().trimmed().toInt();
    }
    void cleanupTestCase() {
        server.kill();
        server.waitForFinished();
    }
    void downloadsFollowRedirectsAndFailOnErrorsOrSayNothingOnceCancelled();
    void windowDrawsTheModel();

  private:
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + "/" + path;
    }
    QProcess server;
    int port = 0;
};

void UpdateCheckTest::downloadsFollowRedirectsAndFailOnErrorsOrSayNothingOnceCancelled() {
    QVERIFY2(QSslSocket::supportsSsl(), "no TLS backend: HTTPS addresses would fail");
    int boundary = 0;
    QtDownloadService service([&](const std::function<void()>& e) {
        ++boundary;
        e();
    });
    // Each address, its outcome, and a text its body has.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Url("newer/software/misc/updatecheck.xml"), "complete", "<Version1>6.0<"},
        {Url("redirect/software/misc/updatecheck.xml"), "complete", "<Version1>6.0<"},
        {Url("echo/x"), "complete", "Cache-Control: no-cache"},
        {Url("nothing/here"), "failed 404", ""},
        {Url("huge/x"), "failed 299", ""},
        {"http://127.0.0.1:1/x", "failed 1", ""},  // nobody listens on port 1
        {"file:///etc/hostname", "failed 301", ""},
    };
    for (const auto& [url, outcome, bodyHas] : cases) {
        Recorder r;
        service.Start("1", url, kDownloadFreshCopy, r);
        QVERIFY(r.outcome.empty());  // never from inside Start
        QTRY_VERIFY_WITH_TIMEOUT(!r.outcome.empty(), 10'000);
        QCOMPARE(r.outcome, outcome);
        QVERIFY2(r.body.find(bodyHas) != std::string::npos, url.c_str());
    }
    QVERIFY(boundary >= static_cast<int>(std::size(cases)));

    Recorder silent, second;
    service.Start("1", Url("silent/x"), 0, silent);
    service.Start("2", Url("newer/x"), 0, second);
    QTest::qWait(100);
    service.Cancel("1");
    QTRY_COMPARE_WITH_TIMEOUT(second.outcome, std::string("complete"), 10'000);
    QTest::qWait(100);
    QCOMPARE(silent.outcome, std::string());
}

void UpdateCheckTest::windowDrawsTheModel() {
    test::FakeHost host;
    ScreenModel main{"VesparMain"};
    test::FakeUrlOpener opener;
    UpdaterLogFile log{host.ctx};
    QtDownloadService service([](const std::function<void()>& e) { e(); });
    UpdaterScreen updater{host.ctx, main, service, opener, log};
    UpdaterWindow window(updater, [](const std::function<void()>& e) { e(); });
    updater.Show();
    updater.control("Message").caption = "one\r\ntwo";
    window.Refresh();
    QVERIFY(window.isVisible());
    QCOMPARE(ScreenFaults(nullptr), QString());
    QCOMPARE(window.findChild<QPlainTextEdit*>("Message")->toPlainText(), QString("one\ntwo"));
    QTest::mouseClick(window.findChild<QPushButton*>("Exit"), Qt::LeftButton);
    window.Refresh();
    QVERIFY(!window.isVisible());
}

}  // namespace vespar::qt

QTEST_MAIN(vespar::qt::UpdateCheckTest)
#include "update_check_test.moc"
