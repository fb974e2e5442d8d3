# The scenarios of the test manager (tests/wine/vntestmgr.cpp), one Wine test each.
set(VN_WINE_SCENARIOS
    exports
    hook-count
    switches
    remove-hook
    setup-twice
    registry
    settings-ini
    trained-db)
