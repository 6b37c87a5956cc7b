// Fuzzes the reading of the photo service's answers into a response or an error.
#include "fuzz_input.h"
#include "sharing/flickr/flickr_answer.h"

using lumigrave::sharing::FlickrAnswer;
using lumigrave::sharing::FlickrError;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const FlickrAnswer answer = FlickrAnswer::fromData(bytes);
    if (answer.ok) {
        if (answer.response.value(QStringLiteral("stat")).toString() != QLatin1String("ok")) {
            lumigrave::fuzz::broken("a success has stat ok");
        }
        return 0;
    }
    if (answer.error.message.isEmpty()) {
        lumigrave::fuzz::broken("every error has a message");
    }
    if (!answer.error.isService() &&
        answer.error.domain != QLatin1String(FlickrError::kClientDomain)) {
        lumigrave::fuzz::broken("an error is the service's or the client's");
    }
    if (answer.error.message.size() > 1000) {
        lumigrave::fuzz::broken("a message is cut short");
    }
    return 0;
}
