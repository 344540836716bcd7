// SPDX-License-Identifier: MIT
// The window's controls as a designer form would hold them: built, named, placed in twips, given
// their fonts, colours, tooltips and start-up contents, and put in tab order.
#pragma once

class ClickableLabel;
class ExecutablePicker;
class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

struct Form1Ui {
    // Numbered as the controls' names are (Check1 is check[1]); index 0 stays empty.
    QCheckBox *check[14] = {};
    QLineEdit *text[12] = {};
    QComboBox *combo[8] = {};
    QPushButton *command[7] = {};
    QLabel *label[36] = {};
    ClickableLabel *image[7] = {};
    ExecutablePicker *picker = nullptr; // Drive1, Dir1 and File1
    QWidget *webBrowser = nullptr;      // WebBrowser1, where the banner goes

    void setupUi(QWidget *form, Platform &platform);
    // The lists' entries, each list at its first one.
    void fillLists();

private:
    void createLabels(QWidget *form);
    void createSettingControls(QWidget *form); // each explained by its tooltip and named by its caption
    void createButtons(QWidget *form);
    void createPictures(QWidget *form); // the link pictures and the banner below them
    void setTabOrder();
};
