[playlist]
File2=b.mp3
File1=file:///C:/a%20b.mp3
Title1=x
NumberOfEntries=2
