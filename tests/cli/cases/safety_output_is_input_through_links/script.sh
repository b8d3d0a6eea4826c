# The same file under another name is the same file: a hard link, a symbolic link, and standard
# input read from it. Nothing is written and nothing read.
ln paths.txt hard.txt
ln -s paths.txt soft.txt
"$ZELGRIN" -f --file:pne paths.txt -o hard.txt
echo "status $?"
"$ZELGRIN" -f --file:pne paths.txt -o soft.txt
echo "status $?"
"$ZELGRIN" -f --file:pne - -o paths.txt <paths.txt
echo "status $?"
# Even when the dump is read last and the path list first.
"$ZELGRIN" -f --file:pne soft.txt --file:bi dump.txt -o dump.txt
echo "status $?"
