// The forms runtime's order of events, through windows made for the test: each handler writes what it
// is into a journal and then does what the row asks of it, so that a row reads as a script and the
// journal it must leave. Nothing of the game is linked here.

#include "controls.h"
#include "fonts.h"
#include "form.h"
#include "layout.h"
#include "runtime.h"
#include "runtime_error.h"

#include <QFontInfo>
#include <QHash>
#include <QKeyEvent>
#include <QTest>
#include <array>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A line of text in a design family, one under the other.
constexpr ui::ControlSpec face(const char* name, int row, ui::FontSpec font) {
    return ui::layout::label(name, 60, 60 + 420 * row, 3000, row == 7 ? 500 : 400, "Aa 0123", font,
                             base::colours::black,
                             row == 0 ? ui::layout::opaque(base::colours::white) : ui::layout::transparent);
}

// Every design family the windows may name, bold and plain, so that each bundled face is drawn.
constexpr auto controls = ui::layout::table({
    face("Texte", 0, ui::layout::font("Arial", 12)),
    face("Gras", 1, ui::layout::bold("Arial", 12)),
    face("Serif", 2, ui::layout::bold("Times New Roman", 12)),
    face("Etroit", 3, ui::layout::font("Arial Narrow", 12)),
    face("Verdana", 4, ui::layout::bold("Verdana", 12)),
    face("Trebuchet", 5, ui::layout::font("Trebuchet MS", 12)),
    face("Tahoma", 6, ui::layout::font("Tahoma", 12)),
    face("Script", 7, ui::layout::font("Brush Script MT", 16)),
});

const ui::FormSpec design{.name = "Essai",
                          .caption = "Essai",
                          .clientWidth = 3300,
                          .clientHeight = 3600,
                          .twipsPerUnit = 15,
                          .back = base::colours::white,
                          .fore = base::colours::black,
                          .font = ui::layout::font("Arial", 8.25),
                          .controls = controls};

class Bench;

// A window whose handlers say what they are and then run the bench's script for them.
class Essai : public ui::Form {
public:
    Essai(ui::FormHost& host, const QString& name, Bench& bench);
    ~Essai() override;
    void load() override;
    void activate() override;
    void keyPress(int charCode) override;

    ui::Timer& tic;
    ui::Label& texte = bind<ui::Label>("Texte");

private:
    Bench& bench_;
};

// A runtime, three windows "un", "deux" and "trois", the journal they write and the script they follow:
// for each "window.event", the actions its handler takes.
class Bench {
public:
    Bench() {
        runtime.setStopOnError(false);
        runtime.setEndHandler([this] { journal << u"end"_s; });
        for (std::size_t i = 0; i < names.size(); ++i) {
            slots[i].emplace(runtime,
                             [this, i] { return std::make_unique<Essai>(runtime, names[i], *this); });
        }
    }
    ~Bench() { runtime.shutdown(); }

    ui::FormSlot& slot(const QString& name) {
        const auto at = std::find(names.begin(), names.end(), name);
        if (at == names.end()) {
            qFatal("no window %s in the bench", qPrintable(name));
        }
        return *slots[std::size_t(at - names.begin())];
    }
    Essai& form(const QString& name) { return slot(name).as<Essai>(); }

    void handle(Essai& form, const QString& event) {
        const QString id = form.objectName() + u'.' + event;
        journal << id;
        for (const QString& action : script.value(id)) {
            act(form, action);
        }
    }

    // One step: "show:un", "unload:un", "key:un:a", "tick:un", "click:un", "switch:un", "close:un",
    // "end", "fail", "note:text", "caption" (the running window reads its own control), "dispatch:x"
    // (an outside event whose handler is the script's "x").
    void act(Essai* running, const QString& step) {
        const QStringList part = step.split(u':');
        const QString& verb = part[0];
        if (verb == u"show") {
            slot(part[1]).show();
        } else if (verb == u"unload") {
            slot(part[1]).unload();
        } else if (verb == u"key") {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, part[2]);
            QCoreApplication::sendEvent(&form(part[1]), &key);
        } else if (verb == u"tick") {
            form(part[1]).tic.fire();
        } else if (verb == u"click") {
            Essai& target = form(part[1]);
            target.clickFromKeyboard(target.texte);
        } else if (verb == u"switch") {
            runtime.activatedFromOutside(form(part[1]));
        } else if (verb == u"close") {
            runtime.closedByWindowSystem(form(part[1]));
        } else if (verb == u"end") {
            runtime.end();
        } else if (verb == u"fail") {
            base::runtimeError(base::ErrorCode::InvalidCall, u"essai"_s);
        } else if (verb == u"note") {
            journal << part[1];
        } else if (verb == u"caption") {
            journal << running->texte.caption();
        } else if (verb == u"dispatch") {
            runtime.dispatch([this, name = part[1]] {
                journal << name;
                for (const QString& action : script.value(name)) {
                    act(nullptr, action);
                }
            });
        } else {
            qFatal("unknown step %s", qPrintable(step));
        }
    }
    void act(Essai& running, const QString& step) { act(&running, step); }

    QStringList journal;
    QHash<QString, QStringList> script;
    ui::Runtime runtime;

private:
    const std::array<QString, 3> names{u"un"_s, u"deux"_s, u"trois"_s};
    std::array<std::optional<ui::FormSlot>, 3> slots;
};

Essai::Essai(ui::FormHost& host, const QString& name, Bench& bench)
    : ui::Form(host, design), tic(addTimer(u"tic"_s, 1000, [this] { bench_.handle(*this, u"tick"_s); })),
      bench_(bench) {
    setObjectName(name);
    texte.onClick = [this] { bench_.handle(*this, u"click"_s); };
}

Essai::~Essai() {
    bench_.journal << objectName() + u".~"_s;
}

void Essai::load() {
    bench_.handle(*this, u"Load"_s);
}

void Essai::activate() {
    bench_.handle(*this, u"Activate"_s);
}

void Essai::keyPress(int charCode) {
    bench_.handle(*this, u"key "_s + QChar(charCode));
}

} // namespace

class RuntimeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void orderOfEvents_data() {
        QTest::addColumn<QStringList>("script");  // "window.event=step,step"
        QTest::addColumn<QStringList>("outside"); // steps from outside any handler
        QTest::addColumn<QStringList>("journal");

        const QStringList opened{u"un.Load"_s, u"un.Activate"_s};
        auto with = [&opened](QStringList more) { return opened + more; };

        QTest::newRow("shown: Load, then Activate") << QStringList() << QStringList{u"show:un"_s} << opened;
        QTest::newRow("shown again while active: no second Activate")
            << QStringList() << QStringList{u"show:un"_s, u"show:un"_s} << opened;
        QTest::newRow("Activate runs after the handler that showed")
            << QStringList{u"un.key a=show:deux,note:shown"_s} << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"deux.Load"_s, u"shown"_s, u"deux.Activate"_s});
        QTest::newRow("a tick inside a key waits for the key's end")
            << QStringList{u"un.key a=tick:un,note:key done"_s} << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"key done"_s, u"un.tick"_s});
        QTest::newRow("a key inside a tick waits for the tick's end")
            << QStringList{u"un.tick=key:un:b,note:tick done"_s} << QStringList{u"show:un"_s, u"tick:un"_s}
            << with({u"un.tick"_s, u"tick done"_s, u"un.key b"_s});
        QTest::newRow("a click inside a key waits for the key's end")
            << QStringList{u"un.key a=click:un,note:key done"_s} << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"key done"_s, u"un.click"_s});
        QTest::newRow("what a handler causes runs in the order caused")
            << QStringList{u"un.key a=show:deux,tick:un,show:trois"_s}
            << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"deux.Load"_s, u"trois.Load"_s, u"deux.Activate"_s, u"un.tick"_s,
                     u"trois.Activate"_s});
        QTest::newRow("what a queued handler causes runs after it, still in order")
            << QStringList{u"un.key a=tick:un,key:un:b"_s, u"un.tick=show:deux"_s}
            << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"un.tick"_s, u"deux.Load"_s, u"un.key b"_s, u"deux.Activate"_s});
        QTest::newRow("a window that unloads itself runs its handler to the end, then goes")
            << QStringList{u"un.key a=unload:un,caption,note:after"_s}
            << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"Aa 0123"_s, u"after"_s, u"un.~"_s});
        QTest::newRow("what was queued for an unloaded window is dropped")
            << QStringList{u"un.key a=tick:un,click:un,key:un:b,unload:un"_s}
            << QStringList{u"show:un"_s, u"key:un:a"_s} << with({u"un.key a"_s, u"un.~"_s});
        QTest::newRow("unloaded from outside: gone at once, and loaded afresh by the next show")
            << QStringList() << QStringList{u"show:un"_s, u"unload:un"_s, u"show:un"_s}
            << with({u"un.~"_s, u"un.Load"_s, u"un.Activate"_s});
        QTest::newRow("an Activate caused for a window unloaded since is dropped")
            << QStringList{u"un.key a=show:deux,unload:deux"_s} << QStringList{u"show:un"_s, u"key:un:a"_s}
            << with({u"un.key a"_s, u"deux.Load"_s, u"deux.~"_s});
        QTest::newRow("end in a handler: it finishes, nothing queued runs, every window goes")
            << QStringList{u"un.key a=show:deux,tick:un,end,note:after end"_s}
            << QStringList{u"show:un"_s, u"key:un:a"_s, u"show:trois"_s, u"dispatch:late"_s}
            << with({u"un.key a"_s, u"deux.Load"_s, u"end"_s, u"after end"_s, u"un.~"_s, u"deux.~"_s});
        QTest::newRow("the last window closed by the window system ends the program")
            << QStringList() << QStringList{u"show:un"_s, u"close:un"_s, u"dispatch:late"_s}
            << with({u"end"_s, u"un.~"_s});
        QTest::newRow("a window closed while another is loaded does not end it")
            << QStringList() << QStringList{u"show:un"_s, u"show:deux"_s, u"close:deux"_s, u"dispatch:late"_s}
            << with({u"deux.Load"_s, u"deux.Activate"_s, u"deux.~"_s, u"late"_s});
        QTest::newRow("a switch by the player runs Activate again")
            << QStringList() << QStringList{u"show:un"_s, u"show:deux"_s, u"switch:deux"_s, u"switch:un"_s}
            << with({u"deux.Load"_s, u"deux.Activate"_s, u"un.Activate"_s});
        QTest::newRow("a stale activation while the window system catches up is ignored")
            << QStringList() << QStringList{u"show:un"_s, u"show:deux"_s, u"switch:un"_s}
            << with({u"deux.Load"_s, u"deux.Activate"_s});
        QTest::newRow("a runtime error drops what its handler caused")
            << QStringList{u"boom=dispatch:queued,show:deux,fail"_s}
            << QStringList{u"show:un"_s, u"dispatch:boom"_s, u"dispatch:next"_s}
            << with({u"boom"_s, u"deux.Load"_s, u"error"_s, u"next"_s});
    }
    void orderOfEvents() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, outside);
        QFETCH(QStringList, journal);
        Bench bench;
        for (const QString& line : script) {
            const qsizetype equals = line.indexOf(u'=');
            bench.script.insert(line.left(equals), line.mid(equals + 1).split(u','));
        }
        for (const QString& step : outside) {
            try {
                bench.act(nullptr, step);
            } catch (const base::RuntimeErrorException&) {
                bench.journal << u"error"_s;
            }
        }
        QCOMPARE(bench.journal, journal);
    }

    // Each programme has its own runtime, and Qt one font database for the whole process: programmes side
    // by side, and one after the other is gone, find every design family's bundled face and draw alike.
    void facesSharedByProgrammes_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("bundled");
        const std::array<std::array<const char*, 2>, 7> families{{{"Arial", "Liberation Sans"},
                                                                  {"Times New Roman", "Liberation Serif"},
                                                                  {"Arial Narrow", "Liberation Sans Narrow"},
                                                                  {"Verdana", "DejaVu Sans"},
                                                                  {"Trebuchet MS", "Open Sans"},
                                                                  {"Tahoma", "Tahoma"},
                                                                  {"Brush Script MT", "Kaushan Script"}}};
        for (const auto& [design, bundled] : families) {
            QTest::newRow(design) << QString::fromUtf8(design) << QString::fromUtf8(bundled);
        }
    }
    void facesSharedByProgrammes() {
        QFETCH(QString, design);
        QFETCH(QString, bundled);
        struct Seen {
            QString family;
            QStringList failures;
            QImage picture;
        };
        const auto look = [&design](Bench& bench) {
            return Seen{QFontInfo(bench.runtime.fonts().make(design, 12, true)).family(),
                        bench.runtime.fonts().failures(), bench.form(u"un"_s).render(2.0)};
        };
        std::optional<Bench> first;
        first.emplace();
        const Seen alone = look(*first);
        std::optional<Seen> beside;
        {
            Bench second;
            beside = look(second);
        }
        first.reset();
        Bench third;
        const Seen after = look(third);
        for (const Seen* seen : std::array<const Seen*, 3>{&alone, &*beside, &after}) {
            QCOMPARE(seen->family, bundled);
            QCOMPARE(seen->failures, QStringList());
            QCOMPARE(seen->picture, alone.picture);
        }
    }
};

QTEST_MAIN(RuntimeTest)
#include "tst_runtime.moc"
