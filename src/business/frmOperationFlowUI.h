#pragma once

#include "common/BrowserFrame.h"

namespace vorlane {

// "业务设置": business categories in the tree, the information sets assigned to the selected one
// in the grid; "设置" opens the membership dialog for it. Opened modally by the structure browser.
class frmOperationFlowUI : public BrowserFrame
{
    Q_OBJECT

public:
    explicit frmOperationFlowUI(QWidget *parent = nullptr);

    // Called by the membership dialog after a save.
    void RefreshMembers();

    void LoadCategories();
    void ShowSelectedCategory();

protected:
    void storeGridConstants() override;
    void buildToolbarAndMenus() override;
    void loadData() override;
    void nodeClick() override;
    bool acceptsButton(const QString &key) override;
    void toolbarButtonClick(const QString &key) override;
    bool prepareOperationMenu(QWidget *source) override;

private:
    void openMembership();
};

// Shows the business customization browser modally over the given window (the structure
// browser's "业务定制"); one instance, reused.
void showBusinessCustomization(QWidget *owner);

} // namespace vorlane
