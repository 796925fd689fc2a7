// Linked with one of the program's libraries taken whole and the libraries it names, nothing
// else: it links only while that library reaches nothing above it.
int main()
{
    return 0;
}
