#pragma once

// Drives or volumes and their folders, for the working-directory browser. (Operations are
// added by the browser code.)
class Folders
{
public:
    virtual ~Folders() = default;
};

class QtFolders final : public Folders
{};
