#pragma once

#include <QString>

#include <functional>

class CChildFrame;
class QWidget;

// One kind of project window: its view is made by the factory inside a new child
// frame. Index 0 is the main input view, 1 the theory page, 2 and 3 the results.
struct CMultiDocTemplate {
    int index = 0;
    std::function<QWidget*(CChildFrame* frame)> create_view;
};

enum TemplateIndex { kMainViewTemplate = 0, kPrincipleTemplate = 1, kTheoryResultTemplate = 2,
                     kExperimentResultTemplate = 3 };
