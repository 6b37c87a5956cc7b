#include "platform/jpeg_rows.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <csetjmp>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <QIODevice>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace lumigrave {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to the setjmp of the call that failed, with the message kept.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endedEarly = false;
};

void errorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void emitMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    // Warnings (level −1) are tolerated but for a premature end, which libjpeg papers
    // over with grey rows.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        errors->endedEarly = true;
    }
}

void installErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = errorExit;
    errors.manager.emit_message = emitMessage;
    errors.manager.output_message = [](j_common_ptr) {};
    errors.message[0] = '\0';
}

bool fail(QString* error, const QString& message) {
    if (error) {
        *error = message;
    }
    return false;
}

constexpr size_t kOutputBuffer = 1 << 16;

// Sends the encoder's output to a QIODevice through a buffer of our own.
struct DeviceDestination {
    jpeg_destination_mgr manager;
    QIODevice* device;
    std::vector<JOCTET> buffer;
    bool failed = false;
};

void initDestination(j_compress_ptr info) {
    auto* d = reinterpret_cast<DeviceDestination*>(info->dest);
    d->manager.next_output_byte = d->buffer.data();
    d->manager.free_in_buffer = d->buffer.size();
}

// A device that takes fewer bytes than it is given has failed; encoding stops there, as
// at any other fatal error, rather than compressing the rest of the photo for nothing.
void writeOut(j_compress_ptr info, qint64 count) {
    auto* d = reinterpret_cast<DeviceDestination*>(info->dest);
    if (count > 0 &&
        d->device->write(reinterpret_cast<const char*>(d->buffer.data()), count) != count) {
        d->failed = true;
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
    }
}

boolean emptyOutputBuffer(j_compress_ptr info) {
    auto* d = reinterpret_cast<DeviceDestination*>(info->dest);
    writeOut(info, qint64(d->buffer.size()));
    d->manager.next_output_byte = d->buffer.data();
    d->manager.free_in_buffer = d->buffer.size();
    return TRUE;
}

void termDestination(j_compress_ptr info) {
    auto* d = reinterpret_cast<DeviceDestination*>(info->dest);
    writeOut(info, qint64(d->buffer.size() - d->manager.free_in_buffer));
}

}  // namespace

struct JpegRowDecoder::State {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    bool created = false;
    bool started = false;
    QByteArray iccProfile;
};

JpegRowDecoder::JpegRowDecoder() : state_(std::make_unique<State>()) {}

JpegRowDecoder::~JpegRowDecoder() {
    if (state_->created) {
        jpeg_destroy_decompress(&state_->info);
    }
}

bool JpegRowDecoder::open(const QByteArray& data, QString* error) {
    State& s = *state_;
    s.info.err = &s.errors.manager;
    installErrors(s.errors);
    if (setjmp(s.errors.jump)) {
        return fail(error, QStringLiteral("The image file is damaged: %1.")
                               .arg(QString::fromLatin1(s.errors.message)));
    }
    jpeg_create_decompress(&s.info);
    s.created = true;
    jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    // The colour profile travels in APP2 markers, which libjpeg skips unless asked.
    jpeg_save_markers(&s.info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&s.info, TRUE);
    if (s.info.jpeg_color_space != JCS_YCbCr || s.info.num_components != 3) {
        return false;
    }
    JOCTET* profile = nullptr;
    unsigned int profileLength = 0;
    if (jpeg_read_icc_profile(&s.info, &profile, &profileLength)) {
        s.iccProfile = QByteArray(reinterpret_cast<const char*>(profile), qsizetype(profileLength));
        std::free(profile);
    }
    s.info.out_color_space = JCS_EXT_BGRX;  // QImage::Format_RGB32 in memory
    jpeg_start_decompress(&s.info);
    s.started = true;
    return true;
}

int JpegRowDecoder::width() const {
    return state_->started ? int(state_->info.output_width) : 0;
}

int JpegRowDecoder::height() const {
    return state_->started ? int(state_->info.output_height) : 0;
}

const QByteArray& JpegRowDecoder::iccProfile() const {
    return state_->iccProfile;
}

bool JpegRowDecoder::readRows(QRgb* rows, qsizetype stride, int count, QString* error) {
    State& s = *state_;
    if (setjmp(s.errors.jump)) {
        return fail(error, QStringLiteral("The image file is damaged: %1.")
                               .arg(QString::fromLatin1(s.errors.message)));
    }
    for (int done = 0; done < count;) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(reinterpret_cast<char*>(rows) + done * stride);
        const JDIMENSION read = jpeg_read_scanlines(&s.info, &row, 1);
        if (read == 0) {
            return fail(error, QStringLiteral("The image file is incomplete."));
        }
        done += int(read);
    }
    // libjpeg makes up the rest of a cut-off photo and only warns: that is no photo.
    if (s.errors.endedEarly) {
        return fail(error, QStringLiteral("The image file is incomplete: it ends before its "
                                          "picture does."));
    }
    return true;
}

bool JpegRowDecoder::finish(QString* error) {
    State& s = *state_;
    if (setjmp(s.errors.jump)) {
        return fail(error, QStringLiteral("The image file is damaged: %1.")
                               .arg(QString::fromLatin1(s.errors.message)));
    }
    jpeg_finish_decompress(&s.info);
    if (s.errors.endedEarly) {
        return fail(error, QStringLiteral("The image file is incomplete: it ends before its "
                                          "picture does."));
    }
    return true;
}

struct JpegRowEncoder::State {
    jpeg_compress_struct info{};
    ErrorManager errors;
    DeviceDestination destination;
    bool created = false;
    bool started = false;
    bool broken = false;  // a call failed: libjpeg's state is no longer to be used

    // The message for the call that jumped back after a failure.
    bool failed(QString* error) {
        broken = true;
        if (destination.failed) {
            return fail(error, QStringLiteral("The photo cannot be written: %1.")
                                   .arg(destination.device->errorString()));
        }
        return fail(error, QStringLiteral("The photo cannot be encoded: %1.")
                               .arg(QString::fromLatin1(errors.message)));
    }
    bool usable(QString* error) const {
        if (!started) {
            return fail(error, QStringLiteral("The encoder has not been started."));
        }
        return !broken ||
               fail(error, QStringLiteral("The photo cannot be written: an earlier call failed."));
    }
};

JpegRowEncoder::JpegRowEncoder() : state_(std::make_unique<State>()) {}

JpegRowEncoder::~JpegRowEncoder() {
    if (state_->created) {
        jpeg_destroy_compress(&state_->info);
    }
}

bool JpegRowEncoder::start(QIODevice& device, int width, int height, int quality,
                           const QByteArray& iccProfile, QString* error) {
    State& s = *state_;
    if (s.created) {
        return fail(error, QStringLiteral("The encoder was started already."));
    }
    s.info.err = &s.errors.manager;
    installErrors(s.errors);
    if (setjmp(s.errors.jump)) {
        return s.failed(error);
    }
    jpeg_create_compress(&s.info);
    s.created = true;
    s.destination.device = &device;
    s.destination.buffer.resize(kOutputBuffer);
    s.destination.manager.init_destination = initDestination;
    s.destination.manager.empty_output_buffer = emptyOutputBuffer;
    s.destination.manager.term_destination = termDestination;
    s.info.dest = &s.destination.manager;
    s.info.image_width = JDIMENSION(width);
    s.info.image_height = JDIMENSION(height);
    s.info.input_components = 4;
    s.info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&s.info);  // YCbCr with 2 × 2 chroma: 4:2:0
    jpeg_set_quality(&s.info, std::clamp(quality, 0, 100), TRUE);
    jpeg_start_compress(&s.info, TRUE);
    if (!iccProfile.isEmpty()) {
        jpeg_write_icc_profile(&s.info, reinterpret_cast<const JOCTET*>(iccProfile.constData()),
                               static_cast<unsigned int>(iccProfile.size()));
    }
    s.started = true;
    return true;
}

bool JpegRowEncoder::writeRows(const QRgb* rows, qsizetype stride, int count, QString* error) {
    State& s = *state_;
    if (!s.usable(error)) {
        return false;
    }
    if (setjmp(s.errors.jump)) {
        return s.failed(error);
    }
    for (int done = 0; done < count; ++done) {
        JSAMPROW row = const_cast<JSAMPROW>(
            reinterpret_cast<const JSAMPLE*>(reinterpret_cast<const char*>(rows) + done * stride));
        jpeg_write_scanlines(&s.info, &row, 1);
    }
    return true;
}

bool JpegRowEncoder::finish(QString* error) {
    State& s = *state_;
    if (!s.usable(error)) {
        return false;
    }
    if (setjmp(s.errors.jump)) {
        return s.failed(error);
    }
    jpeg_finish_compress(&s.info);
    return true;
}

}  // namespace lumigrave
