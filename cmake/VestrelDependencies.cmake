# Every outside library the project uses, found once here so that each subsystem folder
# only links imported targets. scripts/install-deps.sh installs all of them.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network PrintSupport Multimedia Test)
# OpenCV comes in through its imported targets, which mark its headers as system headers;
# included any other way, its 4.6 headers flood a C++20 build with deprecation warnings.
# ximgproc (local thresholds) and freetype (text in any script) come with libopencv-dev.
find_package(OpenCV REQUIRED COMPONENTS core imgproc imgcodecs videoio ximgproc freetype)
find_package(TIFF REQUIRED)
find_package(GIF REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

pkg_check_modules(LIBV4L2 REQUIRED IMPORTED_TARGET libv4l2)
pkg_check_modules(LIBUDEV REQUIRED IMPORTED_TARGET libudev)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
pkg_check_modules(TESSERACT REQUIRED IMPORTED_TARGET tesseract lept)
# Leptonica alone, for the colour reduction of GIF files (it comes with Tesseract).
pkg_check_modules(LEPT REQUIRED IMPORTED_TARGET lept)
# The image history packs its states with zstd.
pkg_check_modules(LIBZSTD REQUIRED IMPORTED_TARGET libzstd)

# libhpdf ships neither a pkg-config file nor a CMake package.
find_path(HPDF_INCLUDE_DIR hpdf.h REQUIRED)
find_library(HPDF_LIBRARY NAMES hpdf REQUIRED)
add_library(Hpdf::hpdf UNKNOWN IMPORTED)
set_target_properties(Hpdf::hpdf PROPERTIES
  IMPORTED_LOCATION ${HPDF_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${HPDF_INCLUDE_DIR})
