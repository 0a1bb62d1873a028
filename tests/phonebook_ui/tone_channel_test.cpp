// The sound output's tone channel: the notice after the wave's length, on
// the user-interface thread, dropped by stopTone; cues never cut it.
#include <QElapsedTimer>
#include <QTest>

#include "phonebook/tone_plan.h"
#include "platform/sound_output.h"
#include "platform/sound_player.h"

using namespace hinagiku;

namespace {

// The base class's behaviour alone: no sound, only the notice.
class SilentOutput final : public platform::SoundOutput {
  public:
    void playCue(const QByteArray&) override {}
    void playFile(const std::filesystem::path&) override {}
    void stop() override {}
};

}  // namespace

class ToneChannelTest : public QObject {
    Q_OBJECT
  private slots:
    void waveDuration() {
        struct Case {
            QByteArray wave;
            int ms;
        };
        const Case cases[] = {
            {phonebook::waveImage(QByteArray(1103, char(128)), 11025), 101},
            {phonebook::waveImage(QByteArray(800, char(128)), 8000), 100},
            {phonebook::waveImage(QByteArray(33075, char(128)), 11025), 3000},
            {QByteArray("RIFF...."), 0},
            {QByteArray(), 0},
        };
        for (const auto& c : cases)
            QCOMPARE(platform::waveDurationMs(c.wave), c.ms);
    }

    void noticeAfterTheWave() {
        SilentOutput out;
        int notices = 0;
        QElapsedTimer clock;
        clock.start();
        out.playTone(phonebook::stepWave(phonebook::toneStep("5", 100)), [&] { ++notices; });
        QCOMPARE(notices, 0);  // never from inside the call
        QTRY_COMPARE(notices, 1);
        QVERIFY(clock.elapsed() >= 190);
        out.playTone(phonebook::stepWave(phonebook::toneStep("5", 0)), [&] { ++notices; });
        out.stopTone();
        QTest::qWait(300);
        QCOMPARE(notices, 1);
    }

    void playerGivesTheNoticeAndCuesDoNotCutIt() {
        platform::SoundPlayer player;
        int notices = 0;
        player.playTone(phonebook::stepWave(phonebook::toneStep("1", 50)), [&] { ++notices; });
        player.playCue(phonebook::stepWave(phonebook::toneStep("2", 0)));
        player.stop();
        QTRY_COMPARE(notices, 1);
        QVERIFY(player.waitIdle(std::chrono::seconds(5)));
    }
};

QTEST_MAIN(ToneChannelTest)
#include "tone_channel_test.moc"
