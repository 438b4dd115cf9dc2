// A second process for the single-instance test: exits 0 when it became the
// first instance, 1 when another instance was running and was asked to come
// forward. Arguments: the per-user folder.
#include "shell/SingleInstance.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    SingleInstance instance("PYX32", QString::fromLocal8Bit(argv[1]));
    return instance.Claim() ? 0 : 1;
}
