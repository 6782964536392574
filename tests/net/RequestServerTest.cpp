#include "RequestServer.h"

#include "AnswerJson.h"
#include "AnswerReading.h"
#include "ChannelSettingsForTesting.h"
#include "ErrorMessageServer.h"
#include "MessageBoxCloser.h"
#include "QStringPrinter.h"
#include "ScriptedServer.h"

#include <QApplication>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>

namespace {

using journal::testing::asJson;
using journal::testing::MessageBoxCloser;
using journal::testing::Reply;
using journal::testing::ScriptedServer;
using Json = nlohmann::ordered_json;
using namespace std::chrono_literals;

const char* const kFatalMessage = "message box: Ошибка: Сервер не доступен, программа будет закрыта!";

// What one exchange left behind: the boxes it showed and the answers its callback saw.
struct ExchangeOutcome {
    std::vector<QString> boxTexts;
    std::vector<Json> callbackAnswers;
    Json dataServerAfter;
};

class RequestChannel : public testing::Test {
protected:
    void SetUp() override { fServer.useAsEndpoint(); }

    ExchangeOutcome run(const Json& command) {
        ExchangeOutcome outcome;
        MessageBoxCloser closer;
        TRequestServer channel;
        channel.setDataServer(command);
        channel.setOnMyEvent(
            [&](TRequestServer* sender) { outcome.callbackAnswers.push_back(asJson(sender->DataServer())); });
        channel.Execute();
        outcome.dataServerAfter = asJson(channel.DataServer());
        channel.Close();
        for (const auto& box : closer.shown()) {
            EXPECT_EQ(box.caption, "Ошибка");
            EXPECT_EQ(box.icon, QMessageBox::Critical);
            outcome.boxTexts.push_back(box.text);
        }
        return outcome;
    }

    ScriptedServer fServer;
};

TEST_F(RequestChannel, PutsTheCommandOnTheWireByteForByte) {
    const Json command{{"id_service", "0"},
                       {"command", "save_service"},
                       {"description_service", " Замена \"ремня\" 1/2\\3\tок\x01"},
                       {"ids_repairman_service", R"({"ids_repairman":["4","7"]})"},
                       {"start_date_service", ""}};
    run(command);

    const auto requests = fServer.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/api/index");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded; charset=utf-8");
    EXPECT_EQ(request.header("Accept-Encoding"), "UTF-8");
    EXPECT_EQ(request.body, "data=%7B%22id_service%22%3A%220%22%2C%22command%22%3A%22save_service%22%2C"
                            "%22description_service%22%3A%22+%D0%97%D0%B0%D0%BC%D0%B5%D0%BD%D0%B0+"
                            "%5C%22%D1%80%D0%B5%D0%BC%D0%BD%D1%8F%5C%22+1%5C%2F2%5C%5C3%5Ct%D0%BE%D0%BA%5Cu0001%22%2C"
                            "%22ids_repairman_service%22%3A%22%7B%5C%22ids_repairman%5C%22%3A%5B%5C%224%5C%22%2C"
                            "%5C%227%5C%22%5D%7D%22%2C%22start_date_service%22%3A%22%22%7D&key=QmWrTsXnPdKa");
}

struct AnswerCase {
    const char* name;
    Reply reply;
    std::vector<QString> boxTexts;
    bool callbackCalled;
};

// Names the case in test names and failure messages.
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswerHandling : public RequestChannel, public testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerHandling, ShowsRefusalsAndHandsSuccessToTheCallback) {
    fServer.script(GetParam().reply);
    const Json command{{"command", "all_service"}};
    const ExchangeOutcome outcome = run(command);

    EXPECT_EQ(outcome.boxTexts, GetParam().boxTexts);
    if (GetParam().callbackCalled) {
        ASSERT_EQ(outcome.callbackAnswers.size(), 1u);
        EXPECT_TRUE(outcome.callbackAnswers[0].contains("success"));
        EXPECT_EQ(outcome.dataServerAfter, outcome.callbackAnswers[0]);
    } else {
        EXPECT_TRUE(outcome.callbackAnswers.empty());
        EXPECT_EQ(outcome.dataServerAfter, command);
    }
}

Reply jsonReply(std::string body, int status = 200) {
    Reply reply;
    reply.body = std::move(body);
    reply.status = status;
    return reply;
}

Reply gzipReply(std::string body) {
    Reply reply = jsonReply(std::move(body));
    reply.gzip = true;
    return reply;
}

Reply withContentType(Reply reply, std::string contentType) {
    reply.contentType = std::move(contentType);
    return reply;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerHandling,
    testing::Values(
        AnswerCase{"SuccessOnly", jsonReply(R"({"success":true,"data":[]})"), {}, true},
        AnswerCase{"SuccessValueNotRead", jsonReply(R"({"success":null})"), {}, true},
        AnswerCase{"ErrorOnly", jsonReply(R"({"error":"Запись занята"})"), {"Запись занята"}, false},
        AnswerCase{"ErrorThenSuccess", jsonReply(R"({"error":"Внимание","success":1})"), {"Внимание"}, true},
        AnswerCase{"Neither", jsonReply(R"({"data":[]})"), {}, false},
        AnswerCase{"ErrorNull", jsonReply(R"({"error":null})"), {"null"}, false},
        AnswerCase{"ErrorNumber", jsonReply(R"({"error":404})"), {"404"}, false},
        AnswerCase{"ErrorObject", jsonReply(R"({"error":{"code":1}})"), {""}, false},
        AnswerCase{"NamesCaseSensitive", jsonReply(R"({"Error":"x","Success":true})"), {}, false},
        AnswerCase{"FirstRepeatedErrorCounts", jsonReply(R"({"error":"first","error":"second"})"), {"first"}, false},
        AnswerCase{"TrailingLineFeed", jsonReply("{\"success\":true}\n"), {}, true},
        AnswerCase{"RefusalWithStatus500", jsonReply(R"({"error":"Сбой базы"})", 500), {"Сбой базы"}, false},
        AnswerCase{"GzipAnswerDecoded", gzipReply(R"({"success":true,"data":[{"Id":"1"}]})"), {}, true},
        AnswerCase{"ByteOrderMarkSkipped", jsonReply("\xEF\xBB\xBF{\"error\":\"x\"}"), {"x"}, false},
        AnswerCase{"InvalidUtf8ReadAsReplacementCharacters", jsonReply("{\"error\":\"a\xff\"}"), {"a\uFFFD"}, false},
        AnswerCase{"CharsetOfTheAnswer",
                   withContentType(jsonReply("{\"error\":\"caf\xe9\"}"), "application/json; charset=ISO-8859-1"),
                   {"café"},
                   false}));

TEST_F(RequestChannel, FollowsRedirectsAsPosts) {
    Reply redirect;
    redirect.redirectTo = "/api/moved";
    fServer.script(redirect);
    fServer.script(jsonReply(R"({"success":true})"));
    const ExchangeOutcome outcome = run(Json{{"command", "all_service"}});

    EXPECT_EQ(outcome.callbackAnswers.size(), 1u);
    const auto requests = fServer.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].path, "/api/moved");
    EXPECT_EQ(requests[1].body, requests[0].body);
}

// A callback may start the next exchange before it returns; each channel keeps its own answer.
TEST_F(RequestChannel, NestedExchangesKeepTheirOwnAnswers) {
    fServer.script(jsonReply(R"({"success":true,"outer":1})"));
    fServer.script(jsonReply(R"({"success":true,"inner":2})"));
    std::optional<Json> innerAnswer;
    std::optional<Json> outerAnswerAfterInner;

    TRequestServer outer;
    outer.setDataServer(Json{{"command", "edit_service"}});
    outer.setOnMyEvent([&](TRequestServer* sender) {
        TRequestServer inner;
        inner.setDataServer(Json{{"command", "all_service"}});
        inner.setOnMyEvent([&](TRequestServer* innerSender) { innerAnswer = asJson(innerSender->DataServer()); });
        inner.Execute();
        inner.Close();
        outerAnswerAfterInner = asJson(sender->DataServer());
    });
    outer.Execute();
    outer.Close();

    ASSERT_TRUE(innerAnswer && outerAnswerAfterInner);
    EXPECT_TRUE(innerAnswer->contains("inner"));
    EXPECT_TRUE(outerAnswerAfterInner->contains("outer"));
    EXPECT_EQ(fServer.requests().size(), 2u);
}

TEST_F(RequestChannel, CloseTwiceAndWithoutExecuteIsHarmless) {
    TRequestServer channel;
    channel.Close();
    channel.Close();
    SUCCEED();
}

// Every failure of an exchange shows the fixed message and ends the program with exit code 0.
struct FatalCase {
    const char* name;
    std::optional<Reply> reply; // the answer to every request; none: nothing listens at the endpoint
    std::chrono::milliseconds timeLimit = 60000ms;
    bool callbackThrows = false;
    bool noCurlHandle = false; // libcurl cannot even start the exchange
};

// Names the case in test names and failure messages.
void PrintTo(const FatalCase& c, std::ostream* os) {
    *os << c.name;
}

class FatalExchange : public RequestChannel, public testing::WithParamInterface<FatalCase> {};

TEST_P(FatalExchange, EndsTheProgramAfterTheFixedMessage) {
    const FatalCase& failure = GetParam();
    EXPECT_EXIT(
        {
            auto settings = fServer.settings(failure.timeLimit);
            if (failure.reply) {
                fServer.setDefaultReply(*failure.reply);
            } else {
                settings.url = "https://127.0.0.1:1/api/index";
            }
            journal::testing::setChannelSettings(settings);
            journal::testing::setCurlHandlesFail(failure.noCurlHandle);
            MessageBoxCloser closer;
            TRequestServer channel;
            channel.setDataServer(Json{{"command", "all_service"}});
            channel.setOnMyEvent([&](TRequestServer* sender) {
                if (failure.callbackThrows) {
                    journal::objectAt(sender->DataServer(), "data.machine"); // a member the window needs is missing
                }
            });
            channel.Execute();
            std::fprintf(stderr, "Execute returned\n");
            std::exit(1);
        },
        testing::ExitedWithCode(0), kFatalMessage);
}

Reply endlessRedirect() {
    Reply reply;
    reply.redirectTo = "/api/index";
    return reply;
}

Reply stalledReply() {
    Reply reply = jsonReply(R"({"success":true})");
    reply.stall = 10s;
    return reply;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FatalExchange,
    testing::Values(FatalCase{"TextAfterTheObject", jsonReply(R"({"success":true} x)")},
                    FatalCase{"EmptyBody", jsonReply("")}, FatalCase{"Array", jsonReply(R"([{"success":true}])")},
                    FatalCase{"String", jsonReply(R"("success")")}, FatalCase{"Number", jsonReply("1")},
                    FatalCase{"HtmlErrorPage",
                              withContentType(jsonReply("<html><body>Internal Server Error</body></html>", 500),
                                              "text/html")},
                    FatalCase{"NoServer", std::nullopt}, FatalCase{"EndlessRedirects", endlessRedirect()},
                    FatalCase{"ServerStallsPastTheTimeLimit", stalledReply(), 1000ms},
                    FatalCase{"CallbackFails", jsonReply(R"({"success":true,"data":[]})"), 60000ms, true},
                    FatalCase{"NoCurlHandle", jsonReply(R"({"success":true})"), 60000ms, false, true}));

// The box blocks its caller only: the program's windows stay enabled and no window is modal.
TEST(ErrorMessageBox, WaitsForTheUserWithoutDisablingAnyWindow) {
    QWidget journalWindow;
    journalWindow.show();
    MessageBoxCloser closer;
    bool checkedWhileOpen = false;
    closer.setWhileOpen([&](QMessageBox& box) {
        EXPECT_EQ(box.windowModality(), Qt::NonModal);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(journalWindow.isEnabled());
        EXPECT_NE(box.parentWidget(), &journalWindow);
        checkedWhileOpen = true;
    });
    TErrorMessageServer::View("Поле не заполнено", false);

    EXPECT_TRUE(checkedWhileOpen);
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].caption, "Ошибка");
    EXPECT_EQ(closer.shown()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(closer.shown()[0].text, "Поле не заполнено");
}

TEST(ErrorMessageBox, ShowsTheTextAsSentOverTheActiveWindow) {
    QWidget journalWindow;
    journalWindow.setGeometry(400, 300, 600, 400);
    journalWindow.show();
    journalWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&journalWindow));
    MessageBoxCloser closer;
    closer.setWhileOpen([&](QMessageBox& box) {
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        const QPoint offset = box.frameGeometry().center() - journalWindow.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
    });
    TErrorMessageServer::View("<b>Цех</b> занят", false);
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].text, "<b>Цех</b> занят");
}

TEST(ErrorMessageBox, WithCloseProgEndsTheProgramWithExitCodeZero) {
    EXPECT_EXIT(
        {
            MessageBoxCloser closer;
            TErrorMessageServer::View("Прощайте", true);
            std::exit(1);
        },
        testing::ExitedWithCode(0), "message box: Ошибка: Прощайте");
}

} // namespace
