// The picture view's loading of any bytes under one name ending, through the
// same decoding that files on disk take. Built once per decoder.
#include "preview/PictureLoader.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

#ifndef ZANTO_FUZZ_ENDING
#error "ZANTO_FUZZ_ENDING names the file ending that picks the decoder"
#endif

using zanto::LoadedPicture;
using zanto::fuzz::require;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Metafiles draw text: fonts need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Decoders warn about every broken input; the log would drown in it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "picture_fuzzer";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives as long as the process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const LoadedPicture picture = zanto::PictureLoader::decode(bytes, "picture" ZANTO_FUZZ_ENDING);
    if (picture.status == LoadedPicture::Status::Loaded)
        require(picture.image.size() == zanto::PREVIEW_BOX, "stretched to the box");
    else
        require(picture.status == LoadedPicture::Status::InvalidPicture, "in memory only an invalid picture fails");
    return 0;
}
