// A window with one line edit that writes every line committed with Enter to a
// log file, so that tests can see exactly what arrived as keystrokes.
// Usage: tavren_test_target LOGFILE TITLE
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    const QString logPath = QString::fromLocal8Bit(argv[1]);

    QWidget window;
    window.setWindowTitle(QString::fromUtf8(argv[2]));
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    QObject::connect(edit, &QLineEdit::returnPressed, [&] {
        QFile log(logPath);
        if (log.open(QIODevice::Append)) {
            log.write(edit->text().toUtf8() + "\n");
            log.close();
        }
        edit->clear();
    });
    window.resize(400, 80);
    window.show();
    edit->setFocus();
    return app.exec();
}
