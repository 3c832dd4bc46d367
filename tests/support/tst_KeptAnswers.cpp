// The answers kept for the questions asked last: handed out again for a question that comes
// back, the least recently asked given up first, and looked through for one of some other use.

#include "support/KeptAnswers.h"

#include <QtTest>
#include <functional>
#include <optional>

namespace {

using Kept = KeptAnswers<int, QString, 2>;

// Asks `question`, counting the answers computed.
QString Ask(Kept& kept, int question, int& computed) {
    return kept.Get(question, std::equal_to<>(), [&] {
        ++computed;
        return QString::number(question * 10);
    });
}

} // namespace

class KeptAnswersTest : public QObject {
    Q_OBJECT

private slots:
    void theLeastRecentlyAskedIsGivenUpFirst() {
        Kept kept;
        int computed = 0;
        QCOMPARE(Ask(kept, 1, computed), QStringLiteral("10"));
        QCOMPARE(Ask(kept, 2, computed), QStringLiteral("20"));
        QCOMPARE(Ask(kept, 1, computed), QStringLiteral("10"));
        QCOMPARE(computed, 2);
        Ask(kept, 3, computed); // gives up 2, asked before 1
        QCOMPARE(computed, 3);
        Ask(kept, 1, computed);
        QCOMPARE(computed, 3);
        Ask(kept, 2, computed);
        QCOMPARE(computed, 4);
    }

    void answersNotWorthKeepingAreComputedEachTime() {
        Kept kept;
        int computed = 0;
        const auto ask = [&] {
            return kept.Get(
                7, std::equal_to<>(),
                [&] {
                    ++computed;
                    return QStringLiteral("large");
                },
                [](const QString& answer) { return answer.size() < 3; });
        };
        ask();
        ask();
        QCOMPARE(computed, 2);
    }

    // The most recently asked usable answer, made into what the caller needs; it then counts as
    // asked, so the next question gives up the other one.
    void aUsableAnswerIsFoundAndCountsAsAsked() {
        Kept kept;
        int computed = 0;
        Ask(kept, 4, computed);
        Ask(kept, 6, computed);
        const auto even = [](int question, const QString& answer) -> std::optional<QString> {
            if (question % 2 != 0)
                return std::nullopt;
            return answer + QStringLiteral("!");
        };
        QCOMPARE(kept.FindUsable(even), std::optional<QString>(QStringLiteral("60!")));
        const auto four = [](int question, const QString& answer) {
            return question == 4 ? std::optional(answer) : std::nullopt;
        };
        QCOMPARE(kept.FindUsable(four), std::optional<QString>(QStringLiteral("40")));
        Ask(kept, 5, computed); // gives up 6
        QCOMPARE(computed, 3);
        Ask(kept, 4, computed);
        QCOMPARE(computed, 3);
        const auto none = [](int, const QString&) { return std::optional<QString>(); };
        QCOMPARE(kept.FindUsable(none), std::nullopt);
    }
};

QTEST_MAIN(KeptAnswersTest)
#include "tst_KeptAnswers.moc"
