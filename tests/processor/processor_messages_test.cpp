#include "ProcessorFixture.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <string>

using namespace ProcessorTest;

namespace {

IPtr<IMessage> binaryMessage(const char* command, const void* data, uint32 size)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID("BinaryMessage");
    message->getAttributes()->setBinary(command, data, size);
    return message;
}

// A controller stand-in that answers "copyhiddenparam" at once with its hidden values.
class AnsweringPeer : public IConnectionPoint
{
public:
    explicit AnsweringPeer(IConnectionPoint& processor) : processor(processor) {}

    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        received += std::string(message->getMessageID()) + " ";
        int64 value = 0;
        if (message->getAttributes()->getInt("copyhiddenparam", value) == kResultOk)
        {
            const double hidden[7] = {0.5, 1.0, 0.25, 0.0, 1.0, 0.0, 0.75};
            processor.notify(binaryMessage("synchiddenparam", hidden, sizeof(hidden)));
        }
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::string received;

private:
    IConnectionPoint& processor;
};

using Messages = ProcessorFixture;

} // namespace

TEST_F(Messages, SavingAsksTheControllerForHiddenValuesFirst)
{
    AnsweringPeer peer(*processor);
    ASSERT_EQ(processor->connect(&peer), kResultOk);
    const Bytes record = state();
    EXPECT_EQ(peer.received, "IntMessage ");
    const double expected[7] = {0.5, 1.0, 0.25, 0.0, 1.0, 0.0, 0.75};
    for (int32 index = 0; index < 7; ++index)
        EXPECT_EQ(readDouble(record, 316 + 8 * index), expected[index]) << index;
    processor->disconnect(&peer);
}

TEST_F(Messages, ShortHiddenValuesAndMissingMessagesAreRefused)
{
    const Bytes before = state();
    const double tooFew[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(processor->notify(binaryMessage("synchiddenparam", tooFew, sizeof(tooFew))), kResultFalse);
    EXPECT_EQ(processor->notify(nullptr), kInvalidArgument);
    EXPECT_EQ(state(), before);
}

TEST_F(Messages, TextMessagesAreAcceptedWithoutEffect)
{
    const Bytes before = state();
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID("TextMessage");
    message->getAttributes()->setString("Text", STR16("hello"));
    EXPECT_EQ(processor->notify(message), kResultOk);
    EXPECT_EQ(state(), before);
}
